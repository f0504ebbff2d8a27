// The program's own start on Windows, as kelvorat.exe starts (the monitor
// cycle bound to the main window), with a probe on the main window that
// reports when it was first painted and its working set once idle.
//
//     window_startup_tool.exe <report file>
#include <windows.h>

#include <optional>

#include "http/platform/system_binding.h"
#include "monitor/monitor_cycle.h"
#include "monitor/win32/program_main.h"
#include "startup_probe.h"

namespace {

BOOL CALLBACK WatchMainWindow(HWND window, LPARAM outPath) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, L"KelvoratMainWindow") != 0) return TRUE;
  startup_probe::Watch(window, reinterpret_cast<const wchar_t*>(outPath));
  return FALSE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const wchar_t* outPath = argv[1];
  const kelvorat::wininet::ScopedWinInet http(kelvorat::wininet::SystemBinding());
  std::optional<kelvorat::MonitorCycle> cycle;
  int unusedArgc = 0;
  return kelvorat::ProgramMain(unusedArgc, nullptr, [&](kelvorat::MonitorWindow& window) {
    // The window exists but is not shown yet: watch it before its first paint.
    EnumThreadWindows(GetCurrentThreadId(), &WatchMainWindow, reinterpret_cast<LPARAM>(outPath));
    cycle.emplace(window, kelvorat::ServiceHosts{KELVORAT_CHECK_HOST, KELVORAT_NOTIFY_HOST},
                  kelvorat::kSixtySecondsMs);
    return cycle->Handlers();
  });
}
