// The monitor cycle's window operations on the Win32 window: texts in code
// page 936, states, the timer, the message box, focus, pending events and
// closing while a handler runs.
#include "monitor/win32/win32_monitor_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "monitor/control_names.h"
#include "monitor/monitor_texts.h"
#include "monitor/win32/main_window.h"
#include "win32_test_support.h"

namespace kelvorat::win32 {
namespace {

using testing::WindowText;
namespace c = controls;

class Win32MonitorWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureWindowing();
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
  }
  void TearDown() override { testing::DrainQuit(); }

  MainWindow window_;
  Win32MonitorWindow ops_{window_};
};

TEST_F(Win32MonitorWindowTest, TextsAreCodePage936WhateverTheWindowHolds) {
  const Text time = "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1" "7\xB7\xD6" "9\xC3\xEB";  // 2024年3月5日14时7分9秒
  ops_.WriteText(c::kLastCheckEdit, time);
  EXPECT_EQ(WindowText(window_.Control(c::kLastCheckEdit)), L"2024\u5E743\u67085\u65E514\u65F67\u52069\u79D2");
  EXPECT_EQ(ops_.ReadText(c::kLastCheckEdit), time) << "written although read-only and disabled";

  ops_.WriteText(c::kCheckCountEdit, "12");
  EXPECT_EQ(ops_.ReadText(c::kCheckCountEdit), "12");
  ops_.WriteText(c::kDomainEdit, "a.b\r\nc");
  EXPECT_EQ(ops_.ReadText(c::kDomainEdit), "a.bc") << "a single-line box drops line breaks";

  SetWindowTextW(window_.Control(c::kCodeEdit), L"\u55B5 \U0001F600x");
  EXPECT_EQ(ops_.ReadText(c::kCodeEdit), "\xDF\xF7 ?x") << "a character 936 lacks is '?'";
  EXPECT_EQ(ops_.ReadText(c::kFrequencyList), monitor_texts::kSixtySeconds);
  EXPECT_EQ(ops_.ReadText(c::kStartButton), "\xBF\xAA\xC6\xF4\xBC\xE0\xBF\xD8");  // 开启监控
  EXPECT_EQ(ops_.ReadText("no such control"), "");
}

TEST_F(Win32MonitorWindowTest, ListsStatesAndFocus) {
  EXPECT_EQ(ops_.SelectedIndex(c::kInterfaceList), 0);
  EXPECT_EQ(ops_.ShownText(c::kFrequencyList), monitor_texts::kSixtySeconds);
  SendMessageW(window_.Control(c::kInterfaceList), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  EXPECT_EQ(ops_.SelectedIndex(c::kInterfaceList), -1);
  EXPECT_EQ(ops_.ShownText(c::kInterfaceList), "");
  EXPECT_EQ(ops_.SelectedIndex(c::kDomainEdit), -1) << "not a list";

  ops_.SetEnabled(c::kStartButton, false);
  ops_.SetEnabled(c::kDomainEdit, false);
  EXPECT_FALSE(IsWindowEnabled(window_.Control(c::kStartButton)));
  EXPECT_FALSE(IsWindowEnabled(window_.Control(c::kDomainEdit)));
  ops_.SetEnabled(c::kDomainEdit, true);
  EXPECT_TRUE(IsWindowEnabled(window_.Control(c::kDomainEdit)));

  window_.Show();
  SetForegroundWindow(window_.Handle());
  ops_.SetFocus(c::kCodeEdit);
  EXPECT_EQ(GetFocus(), window_.Control(c::kCodeEdit));
  ops_.SetFocus(c::kDomainEdit);
  EXPECT_EQ(GetFocus(), window_.Control(c::kDomainEdit));
}

// The same period keeps the running schedule; a different one restarts it.
TEST_F(Win32MonitorWindowTest, TimerPeriodChangesOnlyOnANewValue) {
  int ticks = 0;
  WindowHandlers handlers;
  handlers.timerFired = [&] { ++ticks; };
  window_.BindHandlers(handlers);
  ops_.SetTimerPeriod(c::kTimer, 300);
  EXPECT_EQ(ops_.TimerPeriod(c::kTimer), 300);
  const DWORD started = GetTickCount();
  Sleep(200);
  ops_.SetTimerPeriod(c::kTimer, 300);  // changes nothing: the first event is due 100 ms from now
  ASSERT_TRUE(testing::WaitUntil(window_, [&] { return ticks >= 1; }));
  EXPECT_LT(GetTickCount() - started, 450u);

  ops_.SetTimerPeriod(c::kTimer, -5);
  EXPECT_EQ(ops_.TimerPeriod(c::kTimer), 0);
  EXPECT_EQ(ops_.TimerPeriod("no such timer"), 0);
}

// The box has no owner and disables the program's windows while it shows;
// one OK button, the given text and title.
TEST_F(Win32MonitorWindowTest, MessageBoxIsModalForTheProgram) {
  window_.Show();
  std::atomic<bool> mainWasDisabled{false};
  std::wstring text, title;
  HWND owner = reinterpret_cast<HWND>(1);
  std::thread dismisser([&] {
    HWND box = nullptr;
    for (int i = 0; i < 500 && box == nullptr; ++i, Sleep(10)) box = FindWindowW(L"#32770", L"\u63D0\u793A");
    if (box == nullptr) return;
    Sleep(50);
    mainWasDisabled = !IsWindowEnabled(window_.Handle());
    owner = GetWindow(box, GW_OWNER);
    title = WindowText(box);
    HWND label = FindWindowExW(box, nullptr, L"Static", nullptr);
    while (label != nullptr && GetWindowTextLengthW(label) == 0) label = FindWindowExW(box, label, L"Static", nullptr);
    if (label != nullptr) text = WindowText(label);
    EXPECT_EQ(GetDlgItem(box, IDCANCEL) == nullptr || !IsWindowVisible(GetDlgItem(box, IDCANCEL)), true);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  ops_.ShowMessageBox(monitor_texts::kFillInDomain, monitor_texts::kNoticeTitle);
  dismisser.join();
  EXPECT_EQ(title, L"\u63D0\u793A");  // 提示
  EXPECT_EQ(text, L"\u8BF7\u5148\u586B\u5199\u5F85\u68C0\u6D4B\u57DF\u540D");  // 请先填写待检测域名
  EXPECT_EQ(owner, nullptr);
  EXPECT_TRUE(mainWasDisabled);
  EXPECT_TRUE(IsWindowEnabled(window_.Handle())) << "enabled again once dismissed";
}

TEST_F(Win32MonitorWindowTest, PendingEventsRunClicksInsideAHandler) {
  int stops = 0;
  std::vector<std::string> order;
  WindowHandlers handlers;
  handlers.startClicked = [&] {
    order.push_back("start");
    PostMessageW(window_.Control(c::kStopButton), BM_CLICK, 0, 0);
    ops_.ProcessPendingEvents();
    order.push_back("start done");
  };
  handlers.stopClicked = [&] {
    ++stops;
    order.push_back("stop");
  };
  window_.BindHandlers(handlers);
  window_.Show();
  SendMessageW(window_.Control(c::kStartButton), BM_CLICK, 0, 0);
  EXPECT_EQ(order, (std::vector<std::string>{"start", "stop", "start done"}));
  EXPECT_EQ(stops, 1);
}

// The user closes the window while a handler waits in its pending-events
// step: from then on the window counts as closed, the operations leave it
// alone, the event loop is asked to end, and the window is destroyed only
// with its owner, after the handler has returned.
TEST_F(Win32MonitorWindowTest, ClosingInsideAHandlerNeverTouchesADestroyedWindow) {
  bool sawClosed = false, windowStillThere = false;
  WindowHandlers handlers;
  handlers.startClicked = [&] {
    PostMessageW(window_.Handle(), WM_CLOSE, 0, 0);
    ops_.ProcessPendingEvents();
    sawClosed = ops_.IsClosed();
    windowStillThere = IsWindow(window_.Control(c::kDomainEdit)) != FALSE;
    ops_.WriteText(c::kCheckCountEdit, "1");
    ops_.SetTimerPeriod(c::kTimer, 60000);
    ops_.ShowMessageBox("x", "y");  // returns at once
    ops_.ProcessPendingEvents();
  };
  window_.BindHandlers(handlers);
  window_.Show();
  SendMessageW(window_.Control(c::kStartButton), BM_CLICK, 0, 0);
  EXPECT_TRUE(sawClosed);
  EXPECT_TRUE(windowStillThere);
  EXPECT_EQ(ops_.TimerPeriod(c::kTimer), 0) << "the timer is gone with the window";
  EXPECT_FALSE(IsWindowVisible(window_.Handle()));
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the event loop ends";
  EXPECT_EQ(quit.wParam, 0u);
  SendMessageW(window_.Control(c::kStartButton), BM_CLICK, 0, 0);  // no handler runs any more
}

}  // namespace
}  // namespace kelvorat::win32
