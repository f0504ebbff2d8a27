// The window contract of monitor/monitor_window.h, stated once and run against
// every MonitorWindow: the fake of the monitor tests, the Qt window and the
// Win32 window. Each runner instantiates the suite with a small "window under
// test" type (described below); what only one window shows (widget layout,
// the message box's looks, timer schedules) stays in its own tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "monitor/control_names.h"
#include "monitor/monitor_window.h"
#include "text/codepage.h"

namespace kelvorat::testing {

// What a window under test provides, besides the operations themselves:
//   MonitorWindow& ops();                         the operations under test
//   void UserCloses();                            the user closes the window
//   void QueueStopClick();                        a stop click waits in the queue
//   int stopClicks() const;                       stop handler runs so far
//   bool IsEnabled(std::string_view control);     as the user sees it
//   void SelectNothing(std::string_view list);    the list shows no entry
//   void UserTypes(std::string_view box, std::string_view utf8);
//
// Freedoms. Where a window may choose freely, the suite asserts nothing:
//   - WriteText and ReadText once closed (the Qt and Win32 widgets still exist
//     and keep the text; the fake counts the touch);
//   - how multi-line boxes break their lines inside (ReadText gives "\r\n");
//   - whether the same timer period leaves the running schedule alone is
//     asserted by each window's own tests, which can see its schedule;
//   - the look of the message box (asserted where it can be seen).
template <typename Window>
class WindowContractTest : public ::testing::Test {
 protected:
  Window window_;
  MonitorWindow& ops() { return window_.ops(); }
};

TYPED_TEST_SUITE_P(WindowContractTest);

namespace window_contract {
namespace c = controls;
inline const Text kSixtySeconds = "60\xC3\xEB";  // 60秒
}  // namespace window_contract

TYPED_TEST_P(WindowContractTest, StartsWithTheProgramsValues) {
  using namespace window_contract;
  MonitorWindow& ops = this->ops();
  EXPECT_EQ(ops.ReadText(c::kDomainEdit), "example.com");
  EXPECT_EQ(ops.ReadText(c::kCodeEdit), "Rb8nQe2");
  EXPECT_EQ(ops.ReadText(c::kLastCheckEdit), "");
  EXPECT_EQ(ops.SelectedIndex(c::kInterfaceList), 0);
  EXPECT_EQ(ops.SelectedIndex(c::kFrequencyList), 0);
  EXPECT_EQ(ops.ShownText(c::kFrequencyList), kSixtySeconds);
  EXPECT_EQ(ops.ShownText(c::kInterfaceList), "\xA2\xD9\xBA\xC5\xBD\xD3\xBF\xDA");  // ①号接口
  EXPECT_EQ(ops.TimerPeriod(c::kTimer), 0);
  EXPECT_FALSE(ops.IsClosed());
  EXPECT_TRUE(this->window_.IsEnabled(c::kStartButton));
  EXPECT_TRUE(this->window_.IsEnabled(c::kDomainEdit));
}

TYPED_TEST_P(WindowContractTest, UnknownNamesGiveNothing) {
  MonitorWindow& ops = this->ops();
  EXPECT_EQ(ops.ReadText("no such box"), "");
  EXPECT_EQ(ops.SelectedIndex("no such list"), -1);
  EXPECT_EQ(ops.SelectedIndex(controls::kDomainEdit), -1) << "not a list";
  EXPECT_EQ(ops.TimerPeriod("no such timer"), 0);
}

TYPED_TEST_P(WindowContractTest, TextsWrittenReadBackAndSingleLineBoxesDropControlCharacters) {
  using namespace window_contract;
  struct Row {
    const char* name;
    std::string_view control;
    Text written;
    Text readBack;
  };
  const Row rows[] = {
      {"time into the read-only disabled box", c::kLastCheckEdit, Utf8ToAnsi("2024年3月5日14时7分9秒"),
       Utf8ToAnsi("2024年3月5日14时7分9秒")},
      {"count into the read-only disabled box", c::kCheckCountEdit, "42", "42"},
      {"Chinese domain", c::kDomainEdit, Utf8ToAnsi("例子.中国"), Utf8ToAnsi("例子.中国")},
      {"empty code", c::kCodeEdit, "", ""},
      {"line breaks dropped", c::kDomainEdit, "a.b\r\nc", "a.bc"},
      {"tab, bell and delete dropped", c::kCodeEdit, "R\tb\x07" "8\x7F", "Rb8"},
      {"multi-line box keeps its line breaks", "编辑框1", "one\r\ntwo", "one\r\ntwo"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    this->ops().WriteText(row.control, row.written);
    EXPECT_EQ(this->ops().ReadText(row.control), row.readBack);
  }
}

TYPED_TEST_P(WindowContractTest, CharactersCodePage936LacksReadAsQuestionMarks) {
  this->window_.UserTypes(controls::kCodeEdit, "a\xED\x95\x9C" "b");  // a Hangul syllable between
  EXPECT_EQ(this->ops().ReadText(controls::kCodeEdit), "a?b");
}

TYPED_TEST_P(WindowContractTest, ListWithoutSelectionShowsNothing) {
  this->window_.SelectNothing(controls::kInterfaceList);
  EXPECT_EQ(this->ops().SelectedIndex(controls::kInterfaceList), -1);
  EXPECT_EQ(this->ops().ShownText(controls::kInterfaceList), "");
}

TYPED_TEST_P(WindowContractTest, EnablingIsWhatTheUserSees) {
  MonitorWindow& ops = this->ops();
  ops.SetEnabled(controls::kStartButton, false);
  ops.SetEnabled(controls::kDomainEdit, false);
  EXPECT_FALSE(this->window_.IsEnabled(controls::kStartButton));
  EXPECT_FALSE(this->window_.IsEnabled(controls::kDomainEdit));
  ops.SetEnabled(controls::kDomainEdit, true);
  EXPECT_TRUE(this->window_.IsEnabled(controls::kDomainEdit));
}

TYPED_TEST_P(WindowContractTest, TimerPeriodIsTheLastOneSetAndNegativeCountsAsZero) {
  MonitorWindow& ops = this->ops();
  for (int period : {60000, 60000, 20000, 0, 60000}) {
    ops.SetTimerPeriod(controls::kTimer, period);
    EXPECT_EQ(ops.TimerPeriod(controls::kTimer), period);
  }
  ops.SetTimerPeriod(controls::kTimer, -5);
  EXPECT_EQ(ops.TimerPeriod(controls::kTimer), 0);
}

TYPED_TEST_P(WindowContractTest, PendingEventsRunInsideTheCaller) {
  this->window_.QueueStopClick();
  EXPECT_EQ(this->window_.stopClicks(), 0);
  this->ops().ProcessPendingEvents();
  EXPECT_EQ(this->window_.stopClicks(), 1);
}

TYPED_TEST_P(WindowContractTest, OnceClosedTheWindowDoesNothing) {
  MonitorWindow& ops = this->ops();
  ops.SetTimerPeriod(controls::kTimer, 60000);
  this->window_.UserCloses();
  EXPECT_TRUE(ops.IsClosed());
  EXPECT_EQ(ops.TimerPeriod(controls::kTimer), 0) << "the timer goes with the window";
  ops.SetTimerPeriod(controls::kTimer, 60000);
  EXPECT_EQ(ops.TimerPeriod(controls::kTimer), 0);
  this->window_.QueueStopClick();
  ops.ProcessPendingEvents();
  EXPECT_EQ(this->window_.stopClicks(), 0) << "nothing more runs inside a handler once the program ends";
  ops.ShowMessageBox("x", "y");  // returns at once: a box would wait for a user who is gone
  EXPECT_TRUE(ops.IsClosed());
}

REGISTER_TYPED_TEST_SUITE_P(WindowContractTest, StartsWithTheProgramsValues, UnknownNamesGiveNothing,
                            TextsWrittenReadBackAndSingleLineBoxesDropControlCharacters,
                            CharactersCodePage936LacksReadAsQuestionMarks, ListWithoutSelectionShowsNothing,
                            EnablingIsWhatTheUserSees, TimerPeriodIsTheLastOneSetAndNegativeCountsAsZero,
                            PendingEventsRunInsideTheCaller, OnceClosedTheWindowDoesNothing);

}  // namespace kelvorat::testing
