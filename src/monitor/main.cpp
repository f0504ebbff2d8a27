// Kelvorat: watches one domain and sends a WeChat alert when WeChat blocks it.
#include <optional>

#include "http/platform/system_binding.h"
#include "monitor/monitor_cycle.h"
#ifdef _WIN32
#include "monitor/win32/program_main.h"
#else
#include "monitor/qt/program_main.h"
#endif

int main(int argc, char** argv) {
  // The program speaks HTTP through its platform's own binding.
  const kelvorat::wininet::ScopedWinInet http(kelvorat::wininet::SystemBinding());
  std::optional<kelvorat::MonitorCycle> cycle;
  return kelvorat::ProgramMain(argc, argv, [&cycle](kelvorat::MonitorWindow& window) {
    // The service hosts are fixed values of the build.
    cycle.emplace(window, kelvorat::ServiceHosts{KELVORAT_CHECK_HOST, KELVORAT_NOTIFY_HOST},
                  kelvorat::kSixtySecondsMs);
    return cycle->Handlers();
  });
}
