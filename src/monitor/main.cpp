// Kelvorat: watches one domain and sends a WeChat alert when WeChat blocks it.
#include <optional>

#include "monitor/monitor_cycle.h"
#ifdef _WIN32
#include "monitor/win32/program_main.h"
#else
#include "monitor/qt/program_main.h"
#endif

int main(int argc, char** argv) {
  std::optional<kelvorat::MonitorCycle> cycle;
  return kelvorat::ProgramMain(argc, argv, [&cycle](kelvorat::MonitorWindow& window) {
    cycle.emplace(window);
    return cycle->Handlers();
  });
}
