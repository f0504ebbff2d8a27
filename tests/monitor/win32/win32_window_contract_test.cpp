// The window contract (support/window_contract.h) over the Win32 window.
#include <string>

#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"
#include "support/window_contract.h"
#include "win32_test_support.h"

namespace kelvorat::testing {
namespace {

class Win32WindowUnderTest {
 public:
  Win32WindowUnderTest() {
    EnsureWindowing();
    EXPECT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    WindowHandlers handlers;
    handlers.stopClicked = [this] { ++stopClicks_; };
    window_.BindHandlers(handlers);
    window_.Show();
  }
  ~Win32WindowUnderTest() { DrainQuit(); }
  Win32WindowUnderTest(const Win32WindowUnderTest&) = delete;
  Win32WindowUnderTest& operator=(const Win32WindowUnderTest&) = delete;

  MonitorWindow& ops() { return ops_; }
  void UserCloses() { SendMessageW(window_.Handle(), WM_CLOSE, 0, 0); }
  void QueueStopClick() { PostMessageW(window_.Control(controls::kStopButton), BM_CLICK, 0, 0); }
  int stopClicks() const { return stopClicks_; }
  bool IsEnabled(std::string_view control) const { return IsWindowEnabled(window_.Control(control)) != FALSE; }
  void SelectNothing(std::string_view list) {
    SendMessageW(window_.Control(list), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  }
  void UserTypes(std::string_view box, std::string_view utf8) {
    std::wstring wide(utf8.size() + 1, L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                                             wide.data(), static_cast<int>(wide.size()))));
    SetWindowTextW(window_.Control(box), wide.c_str());
  }

 private:
  win32::MainWindow window_;
  win32::Win32MonitorWindow ops_{window_};
  int stopClicks_ = 0;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Win32, WindowContractTest, Win32WindowUnderTest);

}  // namespace
}  // namespace kelvorat::testing
