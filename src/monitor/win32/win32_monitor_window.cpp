// The monitor cycle's window operations, each on the Win32 control of its name.
#include "monitor/win32/win32_monitor_window.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "http/platform/wait_hook.h"
#include "monitor/control_names.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/wide_text.h"

namespace kelvorat::win32 {
namespace {

bool IsComboBox(HWND control) {
  wchar_t name[32] = {};
  GetClassNameW(control, name, 32);
  return lstrcmpiW(name, L"ComboBox") == 0;
}

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The windows that exist, latest first (each links to the one made before
// it); the wait hook serves the latest. The hook found before the first one
// is put back when the last one goes.
Win32MonitorWindow* waitingWindow = nullptr;
wininet::WaitHook hookBeforeWindows = nullptr;

}  // namespace

Win32MonitorWindow::Win32MonitorWindow(MainWindow& window) : window_(window), previous_(waitingWindow) {
  const wininet::WaitHook before = wininet::SetWaitHook(&Win32MonitorWindow::PaintWhileWaiting);
  if (previous_ == nullptr) hookBeforeWindows = before;
  waitingWindow = this;
}

// Windows may go in any order.
Win32MonitorWindow::~Win32MonitorWindow() {
  for (Win32MonitorWindow** link = &waitingWindow; *link != nullptr; link = &(*link)->previous_) {
    if (*link == this) {
      *link = previous_;
      break;
    }
  }
  if (waitingWindow == nullptr) wininet::SetWaitHook(hookBeforeWindows);
}

// A closed window still takes what is sent to its thread: other threads
// sending to it are not kept waiting, and its handlers no longer run.
void Win32MonitorWindow::PaintWhileWaiting() {
  if (waitingWindow != nullptr) waitingWindow->window_.DispatchWhileWaiting();
}

Text Win32MonitorWindow::ReadText(std::string_view control) {
  HWND handle = window_.Control(control);
  if (handle == nullptr) return {};
  if (IsComboBox(handle)) return ShownText(control);
  return AnsiFromWide(WindowText(handle));
}

void Win32MonitorWindow::WriteText(std::string_view control, std::string_view text) {
  HWND handle = window_.Control(control);
  if (handle == nullptr || IsComboBox(handle)) return;
  std::wstring wide = WideFromAnsi(text);
  if (window_.IsEditBox(handle) && !window_.IsMultiLine(handle)) {
    std::erase_if(wide, [](wchar_t c) { return c < 0x20 || c == 0x7F; });
  }
  SetWindowTextW(handle, wide.c_str());
}

int Win32MonitorWindow::SelectedIndex(std::string_view control) {
  HWND handle = window_.Control(control);
  if (handle == nullptr || !IsComboBox(handle)) return -1;
  const LRESULT index = SendMessageW(handle, CB_GETCURSEL, 0, 0);
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

Text Win32MonitorWindow::ShownText(std::string_view control) {
  const int index = SelectedIndex(control);
  if (index < 0) return {};
  HWND handle = window_.Control(control);
  const LRESULT length = SendMessageW(handle, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(handle, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
  return AnsiFromWide(text);
}

void Win32MonitorWindow::SetEnabled(std::string_view control, bool enabled) {
  if (HWND handle = window_.Control(control)) EnableWindow(handle, enabled ? TRUE : FALSE);
}

void Win32MonitorWindow::SetTimerPeriod(std::string_view timer, int milliseconds) {
  if (timer != controls::kTimer) return;
  window_.SetTimerPeriod(std::max(milliseconds, 0));
}

int Win32MonitorWindow::TimerPeriod(std::string_view timer) const {
  return timer == controls::kTimer ? window_.TimerPeriod() : 0;
}

void Win32MonitorWindow::ShowMessageBox(std::string_view text, std::string_view title) {
  if (window_.IsClosed()) return;
  MessageBoxW(nullptr, WideFromAnsi(text).c_str(), WideFromAnsi(title).c_str(), MB_OK | MB_TASKMODAL);
}

void Win32MonitorWindow::SetFocus(std::string_view control) {
  if (HWND handle = window_.Control(control)) ::SetFocus(handle);
}

void Win32MonitorWindow::ProcessPendingEvents() {
  if (window_.IsClosed()) return;
  window_.ProcessPendingEvents();
}

bool Win32MonitorWindow::IsClosed() const { return window_.IsClosed(); }

}  // namespace kelvorat::win32
