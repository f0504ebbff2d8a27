// The whole tool on Windows: the Win32 window, the monitor cycle, wininet.dll
// and the stand-in services on loopback (started on the Linux side).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/program_main.h"
#include "monitor/win32/win32_monitor_window.h"
#include "support/loopback_server.h"
#include "support/raw_http.h"
#include "support/service_answers.h"
#include "win32_test_support.h"

namespace kelvorat {
namespace {

using testing::LoopbackServer;
using testing::RequestLine;

std::string Local(const LoopbackServer& server) { return testing::HostOf(server); }

const std::string kAlertLine = "GET /trigger?id=Rb8nQe2&text=%61%2E%62%D2%D1%B1%BB%B7%E2%A3%A1 HTTP/1.1";

class Win32MonitorEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureWindowing();
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
    window_.Show();
  }
  // The monitor over the window, talking to services for both of its hosts.
  void StartMonitor(const LoopbackServer& services) {
    cycle_ = std::make_unique<MonitorCycle>(ops_, ServiceHosts{Local(services), Local(services)},
                                            kSixtySecondsMs);
    window_.BindHandlers(cycle_->Handlers());
  }
  void TearDown() override { testing::DrainQuit(); }
  void Click(std::string_view button) { SendMessageW(window_.Control(button), BM_CLICK, 0, 0); }

  win32::MainWindow window_;
  win32::Win32MonitorWindow ops_{window_};
  std::unique_ptr<MonitorCycle> cycle_;
};

TEST_F(Win32MonitorEndToEndTest, BlockedDomainReachesTheServiceAsCheckThenAlert) {
  LoopbackServer services("standin_services.py", {"--port", "0", "--blocked", "a.b"});
  ASSERT_NE(services.port(), 0);
  StartMonitor(services);
  SetWindowTextW(window_.Control(controls::kDomainEdit), L"a.b");
  Click(controls::kStartButton);

  const auto requests = services.Requests();
  ASSERT_EQ(requests.size(), 2u);
  const std::string checkUrl = "http://" + Local(services) + "/k4tq7mbh/wxcheck?url=a.b";
  EXPECT_EQ(RequestLine(requests[0]), "GET /k4tq7mbh/wxcheck?url=a.b HTTP/1.1");
  EXPECT_NE(requests[0].find("\r\nAccept: */*\r\nReferer: " + checkUrl + "\r\nAccept-Language: zh-cn\r\n"),
            std::string::npos)
      << requests[0];
  EXPECT_NE(requests[0].find("\r\nUser-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n"),
            std::string::npos)
      << requests[0];
  EXPECT_EQ(RequestLine(requests[1]), kAlertLine);

  EXPECT_EQ(ops_.ReadText(controls::kCheckCountEdit), "1");
  EXPECT_FALSE(ops_.ReadText(controls::kLastCheckEdit).empty());
  EXPECT_FALSE(IsWindowEnabled(window_.Control(controls::kStartButton)));
  EXPECT_FALSE(IsWindowEnabled(window_.Control(controls::kDomainEdit)));
  EXPECT_EQ(ops_.TimerPeriod(controls::kTimer), 60000);

  Click(controls::kStopButton);
  EXPECT_TRUE(IsWindowEnabled(window_.Control(controls::kStartButton)));
  EXPECT_TRUE(IsWindowEnabled(window_.Control(controls::kDomainEdit)));
}

TEST_F(Win32MonitorEndToEndTest, FineDomainGivesNoAlertAndEmptyDomainIsRefused) {
  LoopbackServer services("standin_services.py", {"--port", "0"});
  ASSERT_NE(services.port(), 0);
  StartMonitor(services);
  Click(controls::kStartButton);
  SendMessageW(window_.Handle(), WM_TIMER, 1, 0);  // the periodic event, as the timer delivers it
  const auto requests = services.Requests();
  ASSERT_EQ(requests.size(), 2u);
  for (const auto& request : requests) {
    EXPECT_EQ(RequestLine(request), "GET /k4tq7mbh/wxcheck?url=example.com HTTP/1.1");
  }
  EXPECT_EQ(ops_.ReadText(controls::kCheckCountEdit), "2");
}

BOOL CALLBACK FindStartButton(HWND child, LPARAM found) {
  if (testing::WindowText(child) == L"\u5F00\u542F\u76D1\u63A7") {  // 开启监控
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindMainWindow(HWND window, LPARAM found) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (std::wstring_view(name) != L"KelvoratMainWindow") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The main window of this test's own thread, null when there is none: other
// test programs run beside this one on the same desktop with windows of theirs.
HWND OwnMainWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindMainWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The user closes the window while the first tick waits in its pending-events
// step: the tick leaves the window alone, the alert is not sent, and the
// program's loop ends with 0 once the tick has returned.
TEST(Win32MonitorProgramTest, ClosingInsideATickEndsTheProgramCleanly) {
  testing::EnsureWindowing();
  LoopbackServer services("standin_services.py", {"--port", "0", "--blocked", "example.com"});
  ASSERT_NE(services.port(), 0);
  std::unique_ptr<MonitorCycle> cycle;
  int argc = 1;
  char name[] = "kelvorat";
  char* argv[] = {name, nullptr};
  const int result = ProgramMain(argc, argv, [&cycle, &services](MonitorWindow& window) {
    cycle = std::make_unique<MonitorCycle>(window, ServiceHosts{Local(services), Local(services)},
                                           kSixtySecondsMs);
    HWND main = OwnMainWindow();
    HWND start = nullptr;
    EnumChildWindows(main, &FindStartButton, reinterpret_cast<LPARAM>(&start));
    // Both wait in the queue: the click runs the tick, whose pending-events
    // step then dispatches the close.
    PostMessageW(start, BM_CLICK, 0, 0);
    PostMessageW(main, WM_CLOSE, 0, 0);
    return cycle->Handlers();
  });
  EXPECT_EQ(result, 0);
  ASSERT_NE(cycle, nullptr);
  EXPECT_EQ(cycle->checkCount(), 1);
  const auto requests = services.Requests();
  ASSERT_EQ(requests.size(), 1u) << "the check went out, the alert did not";
  EXPECT_EQ(RequestLine(requests[0]), "GET /k4tq7mbh/wxcheck?url=example.com HTTP/1.1");
  EXPECT_EQ(OwnMainWindow(), nullptr) << "destroyed once the loop ended";
}

}  // namespace
}  // namespace kelvorat
