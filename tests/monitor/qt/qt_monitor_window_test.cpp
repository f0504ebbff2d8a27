// The monitor cycle's window operations over the real widgets.
#include "monitor/qt/qt_monitor_window.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <memory>

#include "monitor/control_names.h"
#include "monitor/qt/main_window.h"
#include "qt_test_support.h"
#include "text/codepage.h"

namespace kelvorat {
namespace {

namespace c = controls;
using testing::Q;
using testing::WaitUntil;

Text FromHex(std::string_view hex) {
  Text bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

class QtMonitorWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::EnsureApplication(); }
  void SetUp() override {
    window_ = std::make_unique<MainWindow>();
    ops_ = std::make_unique<QtMonitorWindow>(*window_);
    window_->BindHandlers({.startClicked = [this] { ++starts_; },
                           .stopClicked = [this] { ++stops_; },
                           .timerFired = [this] { ++ticks_; }});
    window_->show();
  }

  template <typename T>
  T* Find(std::string_view name) const {
    return window_->findChild<T*>(Q(name));
  }

  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<QtMonitorWindow> ops_;
  int starts_ = 0, stops_ = 0, ticks_ = 0;
};

TEST_F(QtMonitorWindowTest, ReadsTheNoticeAndHelpTextsAsCodePage936ByteForByte) {
  // Full-width quotation marks (A1 B0, A1 B1), leading spaces and "\r\n" breaks included.
  const Text notice = FromHex(
      "2020202020202020dff7c2ebcea2d0c5cce1d0d1d7a2d2e2cac2cfee0d0a20a2d9dff7c2ebcfded6c6d2bbb7d6d6d3d6bbc4dccce1d0"
      "d1d2bbb4cea3bb0d0a20a2dadff7c2ebc3bfccecc3e2b7d1cce1d0d1313030b4cea3bb0d0a20a2dbdff7c2ebd0e8d2aa3438d0a1ca"
      "b1bca4bbeed2bbb4cea3bb");
  const Text help = FromHex(
      "a2d9cea2d0c5cbd1cbf7a1b0dff7cce1d0d1a1b1b9abd6dabac5a3bb0d0aa2dab9d8d7a2b2a2d7a2b2e1a1b0dff7cce1d0d1a1b1d5"
      "cabac5a3bb0d0aa2dbb9abd6dabac5c4dab5e3bbf7a1b0bca4bbee3438d0a1cab1a1b1a3accfc8bca4bbeed5cabac5a3bb0d0aa2dc"
      "b9abd6dabac5c4dab5e3bbf7a1b0cce1d0d1a1b12da1b0ccedbcd3cce1d0d1a1b12dcae4c8ebcce1d0d1b1eacce22da1b0b1a3b4e6"
      "a1b1a3bb0d0aa2ddb1a3b4e6b3c9b9a6baf3bbe1d7d4b6afcfd4cabea1b0dff7c2eba1b1a3bb0d0aa2deb8b4d6c6a1b0dff7c2eba1"
      "b1b2a2d5b3ccf9b5bdc8edbcfea3bb0d0aa2dfbfaac6f4bce0bfd8a3bb");
  EXPECT_EQ(ops_->ReadText("编辑框1"), notice);
  EXPECT_EQ(ops_->ReadText("如何获取喵码_编辑框"), help);
  EXPECT_EQ(Find<QPlainTextEdit>("编辑框1")->document()->blockCount(), 4) << "shown as four lines";
  EXPECT_EQ(Find<QPlainTextEdit>("如何获取喵码_编辑框")->document()->blockCount(), 7);
}

TEST_F(QtMonitorWindowTest, ReadsInitialContentsAndLists) {
  EXPECT_EQ(ops_->ReadText(c::kDomainEdit), "example.com");
  EXPECT_EQ(ops_->ReadText(c::kCodeEdit), "Rb8nQe2");
  EXPECT_EQ(ops_->ReadText(c::kLastCheckEdit), "");
  EXPECT_EQ(ops_->ReadText(c::kCheckCountEdit), "");
  EXPECT_EQ(ops_->SelectedIndex(c::kInterfaceList), 0);
  EXPECT_EQ(ops_->ShownText(c::kFrequencyList), FromHex("3630c3eb"));  // "60秒"
  EXPECT_EQ(ops_->ShownText(c::kInterfaceList), FromHex("a2d9bac5bdd3bfda"));  // "①号接口"
  Find<QComboBox>(c::kInterfaceList)->setCurrentIndex(-1);
  EXPECT_EQ(ops_->SelectedIndex(c::kInterfaceList), -1);
  EXPECT_EQ(ops_->ShownText(c::kInterfaceList), "");
  EXPECT_EQ(ops_->SelectedIndex("no such list"), -1);
  EXPECT_EQ(ops_->ReadText("no such box"), "");
}

TEST_F(QtMonitorWindowTest, WritesAndReadsBackEveryKindOfBox) {
  const struct {
    const char* name;
    std::string_view control;
    Text written;
    Text readBack;
  } rows[] = {
      {"time into the read-only disabled box", c::kLastCheckEdit, Utf8ToAnsi("2024年3月5日14时7分9秒"),
       Utf8ToAnsi("2024年3月5日14时7分9秒")},
      {"count into the read-only disabled box", c::kCheckCountEdit, "42", "42"},
      {"Chinese domain", c::kDomainEdit, Utf8ToAnsi("例子.中国"), Utf8ToAnsi("例子.中国")},
      {"empty code", c::kCodeEdit, "", ""},
      {"line breaks dropped from a single-line box", c::kDomainEdit, "a\r\nb", "ab"},
      {"multi-line keeps CRLF", "编辑框1", "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    ops_->WriteText(row.control, row.written);
    EXPECT_EQ(ops_->ReadText(row.control), row.readBack);
  }
  EXPECT_FALSE(Find<QLineEdit>(c::kLastCheckEdit)->isEnabled()) << "writing does not enable";
}

TEST_F(QtMonitorWindowTest, CharactersCodePage936LacksReadAsQuestionMarks) {
  Find<QLineEdit>(c::kCodeEdit)->setText(QString("a") + QChar(0xD55C) + "b");  // a Hangul syllable
  EXPECT_EQ(ops_->ReadText(c::kCodeEdit), "a?b");
}

TEST_F(QtMonitorWindowTest, ButtonsAndTimerCallTheirHandlers) {
  auto* start = Find<QPushButton>(c::kStartButton);
  Find<QPushButton>(c::kStopButton)->click();
  start->click();
  start->click();
  EXPECT_EQ(starts_, 2);
  EXPECT_EQ(stops_, 1);

  ops_->SetEnabled(c::kStartButton, false);
  EXPECT_FALSE(start->isEnabled());
  start->click();
  EXPECT_EQ(starts_, 2) << "a disabled button ignores the user";
  ops_->SetEnabled(c::kStartButton, true);
  ops_->SetEnabled(c::kDomainEdit, false);
  EXPECT_FALSE(Find<QLineEdit>(c::kDomainEdit)->isEnabled());

  ops_->SetTimerPeriod(c::kTimer, 20);
  EXPECT_TRUE(WaitUntil([&] { return ticks_ >= 2; }));
  ops_->SetTimerPeriod(c::kTimer, 0);
  const int ticks = ticks_;
  WaitUntil([] { return false; }, 100);
  EXPECT_EQ(ticks_, ticks) << "period 0 is idle";
}

// Remaining times, not wall-clock thresholds: a restart puts the next event a
// full period ahead, a kept schedule leaves it where it was.
TEST_F(QtMonitorWindowTest, TimerPeriodRestartsOnlyForANewValue) {
  auto* timer = Find<QTimer>(c::kTimer);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 0);
  EXPECT_FALSE(timer->isActive());

  ops_->SetTimerPeriod(c::kTimer, 10000);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 10000);
  EXPECT_GT(timer->remainingTime(), 9000) << "first event one full period later";
  ASSERT_TRUE(WaitUntil([&] { return timer->remainingTime() < 9950; }));
  const int remaining = timer->remainingTime();

  ops_->SetTimerPeriod(c::kTimer, 10000);
  EXPECT_LE(timer->remainingTime(), remaining) << "the same value keeps the schedule";

  ops_->SetTimerPeriod(c::kTimer, 20000);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 20000);
  EXPECT_GT(timer->remainingTime(), 19000) << "a new value restarts";

  ops_->SetTimerPeriod(c::kTimer, 10000);
  EXPECT_GT(timer->remainingTime(), remaining) << "back to an old value restarts too";

  ops_->SetTimerPeriod(c::kTimer, 0);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 0);
  EXPECT_FALSE(timer->isActive());
  ops_->SetTimerPeriod(c::kTimer, -5);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 0) << "negative counts as idle";
}

TEST_F(QtMonitorWindowTest, MessageBoxHasTextTitleOneOkButtonNoIconAndNoOwner) {
  struct {
    bool seen = false;
    QString title, text;
    QList<QAbstractButton*> buttons;
    QMessageBox::StandardButton ok = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::Information;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* owner = reinterpret_cast<QWidget*>(1);
    QString okText;
    bool okHasPicture = true;
  } box;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (shown == nullptr) return;
    poll.stop();
    box = {true,          shown->windowTitle(),      shown->text(), shown->buttons(),
           shown->standardButton(shown->buttons().value(0)), shown->icon(), shown->windowModality(),
           shown->parentWidget(), {}, true};
    if (QAbstractButton* ok = shown->button(QMessageBox::Ok)) {
      box.okText = ok->text();
      box.okHasPicture = !ok->icon().isNull();
    }
    shown->button(QMessageBox::Ok)->click();
  });
  poll.start(5);
  ops_->ShowMessageBox(Utf8ToAnsi("请先填写喵码"), Utf8ToAnsi("提示"));
  ASSERT_TRUE(box.seen);
  EXPECT_EQ(box.title, "提示");
  EXPECT_EQ(box.text, "请先填写喵码");
  EXPECT_EQ(box.buttons.size(), 1);
  EXPECT_EQ(box.ok, QMessageBox::Ok);
  EXPECT_EQ(box.okText, "确定");
  EXPECT_FALSE(box.okHasPicture);
  EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  EXPECT_EQ(box.modality, Qt::ApplicationModal);
  EXPECT_EQ(box.owner, nullptr);
}

TEST_F(QtMonitorWindowTest, SetFocusGivesTheBoxTheFocus) {
  for (std::string_view box : {c::kDomainEdit, c::kCodeEdit}) {
    ops_->SetFocus(box);
    EXPECT_EQ(window_->focusWidget(), Find<QWidget>(box));
  }
}

TEST_F(QtMonitorWindowTest, ProcessPendingEventsDispatchesWaitingEvents) {
  QMetaObject::invokeMethod(Find<QPushButton>(c::kStopButton), "click", Qt::QueuedConnection);
  EXPECT_EQ(stops_, 0);
  ops_->ProcessPendingEvents();
  EXPECT_EQ(stops_, 1);
}

TEST_F(QtMonitorWindowTest, AfterCloseTheWindowStaysQuiet) {
  ops_->SetTimerPeriod(c::kTimer, 60000);
  window_->close();
  EXPECT_TRUE(ops_->IsClosed());
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 0) << "the timer goes with the window";
  ops_->SetTimerPeriod(c::kTimer, 60000);
  EXPECT_EQ(ops_->TimerPeriod(c::kTimer), 0);

  bool dispatched = false;
  QTimer::singleShot(0, [&] { dispatched = true; });
  ops_->ProcessPendingEvents();
  EXPECT_FALSE(dispatched) << "nothing more runs inside a handler once the program ends";
  ops_->ShowMessageBox("x", "y");  // returns at once: no box after close

  Find<QPushButton>(c::kStartButton)->click();
  EXPECT_EQ(starts_, 0);
  ops_->WriteText(c::kCheckCountEdit, "7");  // harmless: the widgets still exist
  EXPECT_EQ(ops_->ReadText(c::kCheckCountEdit), "7");
  WaitUntil([&] { return dispatched; });
}

}  // namespace
}  // namespace kelvorat
