// The program's entry on Windows.
#include "monitor/win32/program_main.h"

#include <windows.h>

#include <commctrl.h>

#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"

namespace kelvorat {

int ProgramMain(int& /*argc*/, char** /*argv*/, const HandlerBinder& bind) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  int result = 0;
  {
    win32::MainWindow window;
    if (!window.Create(GetModuleHandleW(nullptr))) {
      MessageBoxW(nullptr, L"The main window could not be created.", L"Kelvorat", MB_OK | MB_ICONERROR);
      result = 1;
    } else {
      win32::Win32MonitorWindow operations(window);
      if (bind) window.BindHandlers(bind(operations));
      window.Show();
      MSG message;
      while (GetMessageW(&message, nullptr, 0, 0) > 0) window.Dispatch(message);
    }
    // The window is destroyed here, after the loop: no handler is running.
  }
  return result;
}

}  // namespace kelvorat
