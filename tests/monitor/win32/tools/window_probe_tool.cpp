// Finds the running program's main window for the end-to-end script:
//
//     window_probe_tool.exe start-button   waits (up to 30 s) for the window and
//                                          prints the screen point at the centre
//                                          of its "开启监控" button as "x y"
//     window_probe_tool.exe close          asks the window to close, as its
//                                          Close button does
//
// Exits with 1 when there is no such window.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr wchar_t kWindowClass[] = L"KelvoratMainWindow";

HWND WaitForWindow() {
  for (int i = 0; i < 300; ++i, Sleep(100)) {
    HWND window = FindWindowW(kWindowClass, nullptr);
    if (window != nullptr && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

BOOL CALLBACK FindStartButton(HWND child, LPARAM found) {
  wchar_t text[16] = {};
  GetWindowTextW(child, text, 16);
  if (std::wstring(text) == L"\u5F00\u542F\u76D1\u63A7") {  // 开启监控
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc == 2 ? argv[1] : L"";
  HWND window = WaitForWindow();
  if (window == nullptr) return 1;
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command != L"start-button") return 2;
  HWND button = nullptr;
  EnumChildWindows(window, &FindStartButton, reinterpret_cast<LPARAM>(&button));
  if (button == nullptr) return 1;
  Sleep(500);  // let the window finish drawing
  RECT rect;
  GetWindowRect(button, &rect);
  std::printf("%ld %ld\n", (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  return 0;
}
