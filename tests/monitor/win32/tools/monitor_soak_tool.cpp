// Soak of the Windows build: many ticks of the real Win32 window and monitor
// cycle against the stand-in services, with the timer's period shortened.
// Prints the working set and the open handles every 100 ticks, so growth
// shows up as a rising column.
//
//   monitor_soak_tool <stand-in port> [ticks] [period ms]
#include <windows.h>

#include <commctrl.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "http/platform/system_binding.h"
#include "http/platform/wininet.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/service_urls.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"
#include "support/process_probe.h"

namespace {

long WorkingSetKiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.WorkingSetSize / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <stand-in port> [ticks] [period ms]\n", argv[0]);
    return 2;
  }
  const std::string host = std::string("127.0.0.1:") + argv[1];
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int periodMs = argc > 3 ? std::atoi(argv[3]) : 5;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);
  kelvorat::wininet::ScopedWinInet binding(kelvorat::wininet::SystemBinding());
  kelvorat::win32::MainWindow window;
  if (!window.Create(GetModuleHandleW(nullptr))) return 1;
  kelvorat::win32::Win32MonitorWindow operations(window);
  kelvorat::MonitorCycle cycle(operations, kelvorat::ServiceHosts{host, host}, periodMs);
  window.BindHandlers(cycle.Handlers());
  window.Show();

  std::printf("%8s %10s %8s\n", "ticks", "ws_kib", "handles");
  std::fflush(stdout);
  int reported = 0;
  PostMessageW(window.Control(kelvorat::controls::kStartButton), BM_CLICK, 0, 0);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    window.Dispatch(message);
    const int count = cycle.checkCount();
    if (count >= 100 && count / 100 > reported) {
      reported = count / 100;
      std::printf("%8d %10ld %8d\n", count, WorkingSetKiB(), kelvorat::testing::OpenDescriptors());
      std::fflush(stdout);
    }
    if (count >= ticks) break;
  }
  return cycle.checkCount() >= ticks ? 0 : 1;
}
