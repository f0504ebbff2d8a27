// Faults around the Win32 window while a tick waits on the network: the
// window closed during either request, stop and start clicked during a
// request, and a pile of timer events. What the user does during a request
// waits in the queue and is dispatched at the tick's next pending-events
// step, so the tests post it "at step N" (see SteppedWindow) rather than after
// some milliseconds; nothing may crash, touch the window once it is closed,
// or miscount.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "http/http_request.h"
#include "http/platform/transfer_bounds.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/service_urls.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"
#include "support/loopback_server.h"
#include "support/process_probe.h"
#include "support/service_answers.h"
#include "support/stepped_window.h"
#include "win32_test_support.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;

using testing::CountRequests;
using testing::FastAnswer;
constexpr std::string_view kFineAnswer = testing::kFineAnswerUtf8;
constexpr std::string_view kBlockedAnswer = testing::kBlockedAnswerUtf8;
std::string Local(const LoopbackServer& server) { return testing::HostOf(server); }

const std::string kCheck = "GET /k4tq7mbh/wxcheck?";
const std::string kTrigger = "GET /trigger?";

// Time-outs that a slow but sound service (answering within a second or two) passes.
constexpr wininet::TransferBounds kPatientBounds{2000ms, 5s, 10s, std::size_t{1} << 20};

// The real window and cycle, pointed at two loopback services.
class LiveWin32Monitor {
 public:
  LiveWin32Monitor(const LoopbackServer& check, const LoopbackServer& notify)
      : previousBounds_(wininet::SetTransferBounds(kPatientBounds)),
        cycle_(steps_, ServiceHosts{Local(check), Local(notify)}, kSixtySecondsMs) {
    testing::EnsureWindowing();
    created_ = window_.Create(GetModuleHandleW(nullptr));
    window_.BindHandlers(cycle_.Handlers());
    window_.Show();
  }
  ~LiveWin32Monitor() {
    testing::DrainQuit();
    wininet::SetTransferBounds(previousBounds_);
  }

  [[nodiscard]] bool created() const { return created_; }
  HWND Control(std::string_view name) const { return window_.Control(name); }
  void Click(std::string_view button) { SendMessageW(Control(button), BM_CLICK, 0, 0); }
  void TimerEvent() { SendMessageW(window_.Handle(), WM_TIMER, 1, 0); }
  std::string Shown(std::string_view control) { return ops_.ReadText(control); }

  win32::MainWindow& window() { return window_; }
  MonitorCycle& cycle() { return cycle_; }
  // The cycle's pending-events steps, for actions "during request N".
  testing::SteppedWindow& steps() { return steps_; }
  // Posts message to target at the step-th pending-events step, as the user's
  // action arrives while that request is out.
  void PostAtStep(int step, HWND target, UINT message) {
    steps_.AtStep(step, [target, message] { PostMessageW(target, message, 0, 0); });
  }

 private:
  wininet::TransferBounds previousBounds_;
  win32::MainWindow window_;
  win32::Win32MonitorWindow ops_{window_};
  testing::SteppedWindow steps_{ops_};
  MonitorCycle cycle_;
  bool created_ = false;
};

TEST(Win32WindowFaultsTest, ClosingDuringEitherRequestEndsTheTickAndLeavesTheWindowAlone) {
  struct Row {
    const char* name;
    int closeAtStep;     // 1: posted during the check, 2: during the alert
    std::size_t alerts;  // sent before the close was seen
  };
  const Row rows[] = {
      {"during the check", 1, 0},
      {"during the alert", 2, 1},
      {"during the check, once more", 1, 0},
  };
  {
    // Whatever the first request and the first thread open for good
    // (WinINet's and the thread library's own).
    LoopbackServer warmUp("test_http_server.py");
    (void)HttpGetText("http://" + Local(warmUp) + "/echo");
    std::thread([] {}).join();
  }
  int handlesAfterRow = -1;  // the first row opens what the window system keeps for good
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", FastAnswer(kBlockedAnswer));
    LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveWin32Monitor monitor(check, notify);
    ASSERT_TRUE(monitor.created());
    monitor.window().ProcessPendingEvents();
    const std::string countShown = monitor.Shown(controls::kCheckCountEdit);

    monitor.PostAtStep(row.closeAtStep, monitor.window().Handle(), WM_CLOSE);
    monitor.Click(controls::kStartButton);

    EXPECT_TRUE(monitor.window().IsClosed()) << row.name;
    EXPECT_EQ(monitor.steps().steps(), row.closeAtStep) << row.name;
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), 1u) << row.name;
    EXPECT_EQ(CountRequests(notify, kTrigger), row.alerts) << row.name;
    // Once closed the window is left as it was: no count shown, no timer, no state change.
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), countShown) << row.name;
    EXPECT_EQ(monitor.window().TimerPeriod(), 0) << row.name;
    EXPECT_TRUE(IsWindowEnabled(monitor.Control(controls::kStartButton))) << row.name;
    // Late events reach no handler.
    monitor.Click(controls::kStopButton);
    monitor.Click(controls::kStartButton);
    monitor.TimerEvent();
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(monitor.cycle().monitorStopped(), 0) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), 1u) << row.name;
    const int handles = testing::OpenDescriptors();
    if (handlesAfterRow >= 0) {
      EXPECT_LE(std::abs(handles - handlesAfterRow), 2 * testing::kKeptConnections) << row.name;
    }
    handlesAfterRow = handles;
  }
}

TEST(Win32WindowFaultsTest, StopAndStartClickedDuringARequestTakeEffectAndCountExactly) {
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
    LoopbackServer check("test_http_server.py", FastAnswer(kFineAnswer));
    LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
    ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
    LiveWin32Monitor monitor(check, notify);
    ASSERT_TRUE(monitor.created());
    for (const Click& click : row.clicks) {
      monitor.PostAtStep(click.atStep,
                         monitor.Control(click.start ? controls::kStartButton : controls::kStopButton), BM_CLICK);
    }
    monitor.Click(controls::kStartButton);

    EXPECT_EQ(monitor.cycle().checkCount(), row.ticks) << row.name;
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), std::to_string(row.ticks)) << row.name;
    EXPECT_EQ(CountRequests(check, kCheck), static_cast<std::size_t>(row.ticks)) << row.name;
    EXPECT_EQ(CountRequests(notify, kTrigger), 0u) << row.name;
    EXPECT_EQ(monitor.cycle().monitorStopped(), row.stopped) << row.name;
    EXPECT_EQ(monitor.window().TimerPeriod(), 60000) << row.name;
    // The next periodic event runs a tick exactly when the monitor is not paused.
    monitor.TimerEvent();
    EXPECT_EQ(monitor.cycle().checkCount(), row.ticks + (row.stopped ? 0 : 1)) << row.name;
  }
}

TEST(Win32WindowFaultsTest, TimerEventsPiledUpDuringATickRunNoExtraTick) {
  LoopbackServer check("test_http_server.py", FastAnswer(kFineAnswer));
  LoopbackServer notify("test_http_server.py", FastAnswer("ok"));
  ASSERT_TRUE(check.port() != 0 && notify.port() != 0);
  LiveWin32Monitor monitor(check, notify);
  ASSERT_TRUE(monitor.created());
  monitor.Click(controls::kStartButton);
  ASSERT_EQ(monitor.cycle().checkCount(), 1);

  // A hundred periodic events wait while the next tick's check is out; the
  // tick dispatches them at its pending-events step.
  for (int i = 0; i < 100; ++i) monitor.PostAtStep(monitor.steps().steps() + 1, monitor.window().Handle(), WM_TIMER);
  monitor.TimerEvent();
  EXPECT_EQ(monitor.cycle().checkCount(), 2);
  EXPECT_EQ(CountRequests(check, kCheck), 2u);

  // Between ticks a periodic event runs one tick again.
  monitor.window().ProcessPendingEvents();
  monitor.TimerEvent();
  EXPECT_EQ(monitor.cycle().checkCount(), 3);
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "3");
  EXPECT_EQ(CountRequests(check, kCheck), 3u);
}

}  // namespace
}  // namespace kelvorat
