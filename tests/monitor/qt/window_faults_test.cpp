// Faults around the window while a tick waits on the network: the window
// closed during either request, stop and start clicked during a request, and
// a pile of timer events. Events that arrive during a request are dispatched
// at the tick's pending-events step; nothing may crash, touch the window once
// it is closed, or miscount.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QTimerEvent>

#include <cstdio>
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
using testing::Hex;
using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;

// A check or notification service that answers after a delay.
std::vector<std::string> SlowAnswer(int ms, std::string_view body) {
  return {"--answer-as", "/delay?ms=" + std::to_string(ms) + "&hex=" + Hex(body)};
}
std::vector<std::string> FastAnswer(std::string_view body) { return {"--answer-as", "/body?hex=" + Hex(body)}; }

const std::string kCheck = "GET /k4tq7mbh/wxcheck?";
const std::string kTrigger = "GET /trigger?";

TEST(WindowFaultsTest, ClosingDuringEitherRequestEndsTheTickAndLeavesTheWindowAlone) {
  struct Row {
    const char* name;
    std::vector<std::string> check, notify;
    int closeAtMs;
    std::size_t alerts;  // sent before the close was seen
  };
  const Row rows[] = {
      {"during the check", SlowAnswer(1000, testing::kBlockedAnswerUtf8), FastAnswer("ok"), 200, 0},
      {"during the alert", FastAnswer(testing::kBlockedAnswerUtf8), SlowAnswer(1500, "ok"), 500, 1},
  };
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", row.check);
    LoopbackServer notify("test_http_server.py", row.notify);
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
    QCoreApplication::processEvents();
    const int descriptorsBefore = testing::OpenDescriptors();
    const std::string countShown = monitor.Shown(controls::kCheckCountEdit);

    QTimer::singleShot(row.closeAtMs, &monitor.window(), &QWidget::close);
    monitor.StartButton()->click();

    EXPECT_TRUE(monitor.window().IsClosed()) << row.name;
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
    int atMs;
    bool start;  // else stop
  };
  struct Row {
    const char* name;
    std::vector<Click> clicks;
    int ticks;  // the immediate one and the nested ones
    int stopped;
  };
  const Row rows[] = {
      {"stop", {{200, false}}, 1, 1},
      {"start", {{200, true}}, 2, 0},
      {"stop, then start", {{200, false}, {300, true}}, 2, 0},
      {"start twice", {{200, true}, {300, true}}, 3, 0},
  };
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", SlowAnswer(1000, testing::kFineAnswerUtf8));
    LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
    for (const Click& click : row.clicks) {
      QTimer::singleShot(click.atMs, click.start ? monitor.StartButton() : monitor.StopButton(),
                         &QAbstractButton::click);
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
  LoopbackServer check("test_http_server.py", SlowAnswer(1000, testing::kFineAnswerUtf8));
  LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
  ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
  LiveMonitor monitor(HostOf(check), HostOf(notify), testing::kPatientTimeouts);
  monitor.StartButton()->click();
  ASSERT_EQ(monitor.cycle().checkCount(), 1);

  // A hundred periodic events wait while the next tick's check is out; the
  // tick dispatches them at its pending-events step.
  for (int i = 0; i < 100; ++i) {
    QCoreApplication::postEvent(monitor.Timer(), new QTimerEvent(monitor.Timer()->timerId()));
  }
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
  LoopbackServer notify("test_http_server.py", SlowAnswer(1500, "ok"));
  ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
  const wininet::TransferBounds previous = wininet::SetTransferBounds(testing::kPatientTimeouts);

  auto run = [&] {
    static char name[] = "kelvorat";
    char* argv[] = {name, nullptr};
    int argc = 1;
    std::unique_ptr<MonitorCycle> cycle;
    const int result = ProgramMain(argc, argv, [&cycle, &check, &notify](MonitorWindow& window) {
      cycle = std::make_unique<MonitorCycle>(window, ServiceHosts{HostOf(check), HostOf(notify)},
                                             kSixtySecondsMs);
      QTimer::singleShot(0, [] {
        QTimer::singleShot(500, [] { MainWindowWidget()->close(); });
        MainWindowWidget()->findChild<QAbstractButton*>(testing::Q(controls::kStartButton))->click();
      });
      return cycle->Handlers();
    });
    std::fprintf(stderr, "count %d, returned %d, checks %zu, alerts %zu\n", cycle->checkCount(), result,
                 CountRequests(check, kCheck), CountRequests(notify, kTrigger));
    std::exit(result);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "count 1, returned 0, checks 1, alerts 1");
  wininet::SetTransferBounds(previous);
}

}  // namespace
}  // namespace kelvorat
