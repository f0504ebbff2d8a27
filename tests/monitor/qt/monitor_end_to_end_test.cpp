// The whole tool: the real window (offscreen), the monitor cycle, the libcurl
// platform and the stand-in services on loopback.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "live_monitor.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/qt/program_main.h"
#include "qt_test_support.h"
#include "support/loopback_server.h"
#include "support/process_probe.h"

namespace kelvorat {
namespace {

using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;
using testing::MainWindowWidget;
using testing::Q;
using testing::RequestLine;

constexpr std::string_view kDefaultHeaders =
    "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n";

TEST(MonitorEndToEndTest, BlockedDomainReachesTheServiceAsCheckThenAlert) {
  LoopbackServer services("standin_services.py", {"--port", "0", "--blocked", "a.b"});
  ASSERT_NE(services.port(), 0);
  LiveMonitor monitor(HostOf(services), HostOf(services));
  monitor.SetDomain("a.b");
  monitor.StartButton()->click();

  const auto requests = services.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string checkUrl = "http://" + HostOf(services) + "/k4tq7mbh/wxcheck?url=a.b";
  EXPECT_EQ(RequestLine(requests[0]), "GET /k4tq7mbh/wxcheck?url=a.b HTTP/1.1");
  EXPECT_NE(requests[0].find("\r\nAccept: */*\r\nReferer: " + checkUrl + "\r\nAccept-Language: zh-cn\r\n"),
            std::string::npos)
      << requests[0];
  EXPECT_NE(requests[0].find(kDefaultHeaders), std::string::npos) << requests[0];
  EXPECT_NE(requests[0].find("\r\nHost: " + HostOf(services) + "\r\n"), std::string::npos);
  EXPECT_EQ(RequestLine(requests[1]),
            "GET /trigger?id=Rb8nQe2&text=%61%2E%62%D2%D1%B1%BB%B7%E2%A3%A1 HTTP/1.1");

  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "1");
  EXPECT_FALSE(monitor.Shown(controls::kLastCheckEdit).empty());
  EXPECT_FALSE(monitor.StartButton()->isEnabled());
  EXPECT_FALSE(monitor.Find<QLineEdit>(controls::kDomainEdit)->isEnabled());
  EXPECT_EQ(monitor.Timer()->interval(), 60000);
  EXPECT_TRUE(monitor.Timer()->isActive());
}

TEST(MonitorEndToEndTest, FineDomainIsCheckedEveryPeriodWithoutAlerts) {
  LoopbackServer services("standin_services.py", {"--port", "0"});
  ASSERT_NE(services.port(), 0);
  LiveMonitor monitor(HostOf(services), HostOf(services));
  monitor.StartButton()->click();
  ASSERT_TRUE(monitor.Timer()->isActive());
  monitor.TimerEvent();
  monitor.TimerEvent();

  const auto requests = services.Requests();
  ASSERT_EQ(requests.size(), 3u);
  for (const auto& request : requests) {
    EXPECT_EQ(RequestLine(request), "GET /k4tq7mbh/wxcheck?url=example.com HTTP/1.1");
  }
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "3");

  monitor.StopButton()->click();
  monitor.TimerEvent();
  EXPECT_EQ(services.Requests().size(), 3u) << "paused ticks make no request";
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "3");
}

TEST(MonitorEndToEndTest, UnreachableCheckServiceStillSendsTheAlertAndCounts) {
  LoopbackServer notify("standin_services.py", {"--port", "0"});
  ASSERT_NE(notify.port(), 0);
  LiveMonitor monitor("127.0.0.1:" + std::to_string(testing::RefusingPort()), HostOf(notify));
  monitor.SetDomain("a.b");
  monitor.StartButton()->click();

  const auto requests = notify.Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(RequestLine(requests[0]),
            "GET /trigger?id=Rb8nQe2&text=%61%2E%62%D2%D1%B1%BB%B7%E2%A3%A1 HTTP/1.1");
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "1");
}

// The user closes the window while the first tick waits in its pending-events
// step: the tick leaves the window alone, the alert is not sent, and the
// program ends with 0 once the tick has returned.
TEST(MonitorProgramTest, ClosingInsideATickEndsTheProgramCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  LoopbackServer services("standin_services.py", {"--port", "0", "--blocked", "example.com"});
  ASSERT_NE(services.port(), 0);
  // The statement runs in a child process (with its own stand-in), which
  // reports what its stand-in received.
  auto run = [&services] {
    static char name[] = "kelvorat";
    char* argv[] = {name, nullptr};
    int argc = 1;
    std::unique_ptr<MonitorCycle> cycle;
    const int result = ProgramMain(argc, argv, [&cycle, &services](MonitorWindow& window) {
      cycle = std::make_unique<MonitorCycle>(window, ServiceHosts{HostOf(services), HostOf(services)},
                                             kSixtySecondsMs);
      QTimer::singleShot(0, [] {
        QWidget* main = MainWindowWidget();
        QMetaObject::invokeMethod(main, "close", Qt::QueuedConnection);
        main->findChild<QPushButton*>(Q(controls::kStartButton))->click();
      });
      return cycle->Handlers();
    });
    const auto requests = services.Requests();
    std::fprintf(stderr, "count %d, returned %d, %zu request(s), first: %s\n", cycle->checkCount(),
                 result, requests.size(), requests.empty() ? "" : RequestLine(requests[0]).c_str());
    std::exit(result);
  };
  // The check went out, the alert did not.
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0),
              "count 1, returned 0, 1 request\\(s\\), first: GET /k4tq7mbh/wxcheck\\?url=example.com HTTP/1.1");
}

}  // namespace
}  // namespace kelvorat
