// The yardstick for the program's start on Windows: one plain Win32 window of
// the main window's size with one Chinese caption in the default GUI font,
// probed the same way. Nothing else: no common controls, no COM, no pictures.
//
//     minimal_window_tool.exe <report file>
#include <windows.h>

#include "startup_probe.h"

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) return 2;
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  RegisterClassExW(&windowClass);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Kelvorat",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                CW_USEDEFAULT, 514, 227, nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return 1;
  HWND caption = CreateWindowExW(0, L"STATIC", L"\u5F00\u542F\u76D1\u63A7", WS_CHILD | WS_VISIBLE,  // 开启监控
                                 8, 8, 120, 20, window, nullptr, instance, nullptr);
  SendMessageW(caption, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  startup_probe::Watch(window, argv[1]);
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
