// Helpers for the Win32 window tests: COM and the common controls set up once
// for the test program, and waiting while messages are dispatched.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <functional>
#include <string>

#include "monitor/win32/main_window.h"

namespace kelvorat::testing {

inline void EnsureWindowing() {
  static const bool ready = [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)ready;
}

// Dispatches messages until done() holds or timeoutMs passed; returns done().
inline bool WaitUntil(win32::MainWindow& window, const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < timeoutMs) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return done();
      window.Dispatch(message);
    }
    Sleep(5);
  }
  return done();
}

inline std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The window's rectangle relative to the top-left corner of another window.
inline RECT RectIn(HWND window, HWND reference) {
  RECT rect, origin;
  GetWindowRect(window, &rect);
  GetWindowRect(reference, &origin);
  OffsetRect(&rect, -origin.left, -origin.top);
  return rect;
}

// Removes a WM_QUIT left in the queue by a closed window, so that the next
// test's loop does not end at once.
inline void DrainQuit() {
  MSG message;
  while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace kelvorat::testing
