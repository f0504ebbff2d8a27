// Faults around the window while a tick waits on the network: the window
// closed during either request, stop and start clicked during a request, and
// a pile of timer events. Input that arrives during a request is dispatched
// at the tick's next pending-events step, so the tests act "at step N" (see
// SteppedWindow) rather than after some milliseconds; nothing may crash,
// touch the window once it is closed, or miscount.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QTimerEvent>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "live_monitor.h"
#include "monitor/qt/program_main.h"
#include "support/process_probe.h"

namespace kelvorat {
namespace {

using testing::CountRequests;
using testing::FastAnswer;
using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;


const std::string kCheck = "GET /k4tq7mbh/wxcheck?";
const std::string kTrigger = "GET /trigger?";

TEST(WindowFaultsTest, ClosingDuringEitherRequestEndsTheTickAndLeavesTheWindowAlone) {
  struct Row {
    const char* name;
    int closeAtStep;     // 1: queued during the check, 2: during the alert
    std::size_t alerts;  // sent before the close was seen
  };
  const Row rows[] = {
      {"during the check", 1, 0},
      {"during the alert", 2, 1},
  };
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", FastAnswer(testing::kBlockedAnswerUtf8));
    LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
    QCoreApplication::processEvents();
    const int descriptorsBefore = testing::OpenDescriptors();
    const std::string countShown = monitor.Shown(controls::kCheckCountEdit);

    monitor.steps().AtStep(row.closeAtStep, [&monitor] { monitor.window().close(); });
    monitor.StartButton()->click();

    EXPECT_TRUE(monitor.window().IsClosed()) << row.name;
    EXPECT_EQ(monitor.steps().steps(), row.closeAtStep) << row.name;
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), 1u) << row.name;
    EXPECT_EQ(CountRequests(notify, kTrigger), row.alerts) << row.name;
    // Once closed the window is left as it was: no count shown, no timer, no state change.
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), countShown) << row.name;
    EXPECT_FALSE(monitor.Timer()->isActive()) << row.name;
    EXPECT_TRUE(monitor.StartButton()->isEnabled()) << row.name;
    // Late events reach no handler.
    monitor.StopButton()->click();
    monitor.StartButton()->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(monitor.cycle().monitorStopped(), 0) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), 1u) << row.name;
    EXPECT_EQ(testing::OpenDescriptors(), descriptorsBefore) << row.name;
  }
}

TEST(WindowFaultsTest, StopAndStartClickedDuringARequestTakeEffectAndCountExactly) {
  struct Click {
    int atStep;
    bool start;  // else stop
  };
  struct Row {
    const char* name;
    std::vector<Click> clicks;
    int ticks;  // the immediate one and the nested ones
    int stopped;
  };
  const Row rows[] = {
      {"stop", {{1, false}}, 1, 1},
      {"start", {{1, true}}, 2, 0},
      {"stop, then start", {{1, false}, {1, true}}, 2, 0},
      {"start twice", {{1, true}, {1, true}}, 3, 0},
  };
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", FastAnswer(testing::kFineAnswerUtf8));
    LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
    for (const Click& click : row.clicks) {
      // Queued as the click's event is, and dispatched by that step.
      QAbstractButton* button = click.start ? monitor.StartButton() : monitor.StopButton();
      monitor.steps().AtStep(click.atStep,
                             [button] { QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection); });
    }
    monitor.StartButton()->click();

    EXPECT_EQ(monitor.cycle().checkCount(), row.ticks) << row.name;
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), std::to_string(row.ticks)) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), static_cast<std::size_t>(row.ticks)) << row.name;
    EXPECT_EQ(CountRequests(notify, kTrigger), 0u) << row.name;
    EXPECT_EQ(monitor.cycle().monitorStopped(), row.stopped) << row.name;
    EXPECT_EQ(monitor.Timer()->interval(), 60000) << row.name;
    // The next periodic event runs a tick exactly when the monitor is not paused.
    monitor.TimerEvent();
    EXPECT_EQ(monitor.cycle().checkCount(), row.ticks + (row.stopped ? 0 : 1)) << row.name;
  }
}

TEST(WindowFaultsTest, TimerEventsPiledUpDuringATickRunNoExtraTick) {
  LoopbackServer check("test_http_server.py", FastAnswer(testing::kFineAnswerUtf8));
  LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
  ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
  LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
  monitor.StartButton()->click();
  ASSERT_EQ(monitor.cycle().checkCount(), 1);

  // A hundred periodic events wait while the next tick's check is out; the
  // tick dispatches them at its pending-events step.
  monitor.steps().AtStep(monitor.steps().steps() + 1, [&monitor] {
    for (int i = 0; i < 100; ++i) {
      QCoreApplication::postEvent(monitor.Timer(), new QTimerEvent(monitor.Timer()->timerId()));
    }
  });
  monitor.TimerEvent();
  EXPECT_EQ(monitor.cycle().checkCount(), 2);
  EXPECT_EQ(CountRequests(check, kCheck), 2u);

  // Between ticks a periodic event runs one tick again.
  QCoreApplication::processEvents();
  monitor.TimerEvent();
  EXPECT_EQ(monitor.cycle().checkCount(), 3);
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "3");
  EXPECT_EQ(CountRequests(check, kCheck), 3u);
}

using testing::MainWindowWidget;

// The whole program: the window is closed while the alert is out, destroyed
// when the event loop has returned, and the tick that was running by then
// has touched nothing of it. (Under the sanitizers a late touch would abort.)
TEST(WindowFaultsProgramTest, ClosingDuringTheAlertEndsTheProgramCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  LoopbackServer check("test_http_server.py", FastAnswer(testing::kBlockedAnswerUtf8));
  LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
  ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
  const wininet::TransferBounds previous = wininet::SetTransferBounds(testing::kPatientTimeouts);

  // The child's findings as its exit status: one bit for each that is wrong.
  enum Wrong { kResult = 1, kCount = 2, kChecks = 4, kAlerts = 8 };
  auto run = [&] {
    static char name[] = "kelvorat";
    char* argv[] = {name, nullptr};
    int argc = 1;
    std::unique_ptr<testing::SteppedWindow> steps;
    std::unique_ptr<MonitorCycle> cycle;
    const int result = ProgramMain(argc, argv, [&](MonitorWindow& window) {
      steps = std::make_unique<testing::SteppedWindow>(window);
      cycle = std::make_unique<MonitorCycle>(*steps, ServiceHosts{HostOf(check), HostOf(notify)},
                                             kSixtySecondsMs);
      // Closed while the alert is out: the close is dispatched by step 2.
      steps->AtStep(2, [] { MainWindowWidget()->close(); });
      QTimer::singleShot(0, [] {
        MainWindowWidget()->findChild<QAbstractButton*>(testing::Q(controls::kStartButton))->click();
      });
      return cycle->Handlers();
    });
    std::exit((result != 0 ? kResult : 0) | (cycle->checkCount() != 1 ? kCount : 0) |
              (CountRequests(check, kCheck) != 1 ? kChecks : 0) |
              (CountRequests(notify, kTrigger) != 1 ? kAlerts : 0));
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "");
  wininet::SetTransferBounds(previous);
}

}  // namespace
}  // namespace kelvorat
