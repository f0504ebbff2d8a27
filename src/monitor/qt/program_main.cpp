// The program's entry.
#include "monitor/qt/program_main.h"

#include <QApplication>

#include "monitor/qt/main_window.h"
#include "monitor/qt/qt_monitor_window.h"

namespace kelvorat {

int ProgramMain(int& argc, char** argv, const HandlerBinder& bind) {
  char fallbackName[] = "kelvorat";
  int qtArgc = 1;
  char* qtArgv[] = {argc > 0 && argv != nullptr && argv[0] != nullptr ? argv[0] : fallbackName, nullptr};
  QApplication application(qtArgc, qtArgv);
  // The program ends when the main window closes, never because some other
  // window (a message box) was the last one to go.
  QApplication::setQuitOnLastWindowClosed(false);

  MainWindow window;
  QtMonitorWindow operations(window);
  if (bind) window.BindHandlers(bind(operations));
  QObject::connect(&window, &MainWindow::Closed, &application, &QCoreApplication::quit);
  window.show();
  QApplication::exec();
  // The window outlives the loop: nothing of it is destroyed while a handler
  // could still be running.
  return 0;
}

}  // namespace kelvorat
