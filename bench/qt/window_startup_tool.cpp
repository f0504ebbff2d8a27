// The program's own start: ProgramMain with a probe on the main window that
// reports when it was first painted and how much memory it holds once idle.
#include <QApplication>

#include "monitor/qt/program_main.h"
#include "startup_probe.h"

int main(int argc, char** argv) {
  return kelvorat::ProgramMain(argc, argv, [](kelvorat::MonitorWindow&) {
    for (QWidget* top : QApplication::topLevelWidgets()) new StartupProbe(top);
    return kelvorat::WindowHandlers{};
  });
}
