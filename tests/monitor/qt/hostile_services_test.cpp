// The monitor against a block-check service that misbehaves: every tick ends
// within the network time-outs, counts exactly once, treats a failed check as
// "blocked" (so the alert goes out), and leaves no socket open.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "live_monitor.h"
#include "monitor/control_names.h"
#include "support/process_probe.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::CountRequests;
using testing::Hex;
using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;

TEST(HostileCheckServiceTest, EveryTickEndsCountsOnceAndAlertsUnlessTheAnswerSaysFine) {
  testing::EnsureApplication();
  LoopbackServer notify("standin_services.py", {"--port", "0"});
  ASSERT_NE(notify.port(), 0);
  struct Row {
    const char* name;
    std::string answerAs;
    bool alert;
  };
  const std::string fine(testing::kFineAnswerUtf8);
  const Row rows[] = {
      {"accepts and never answers", "/silent", true},
      {"headers, then a byte every 2 s", "/trickle?every=2", true},
      {"resets after the fine verdict, mid-body", "/reset?after=40", true},
      {"body without end", "/endless", true},
      {"status line that is not HTTP", "/not-http", true},
      {"redirect loop", "/loop", true},
      {"redirect to a host that refuses connections",
       "/redirect?to=http://127.0.0.1:" + std::to_string(testing::RefusingPort()) + "/", true},
      {"invalid UTF-8 before the fine verdict", "/body?hex=fffec0afed" + Hex(fine), false},
      {"zero byte before the fine verdict", "/body?hex=00" + Hex(fine), true},
      {"oversized header block", "/header-flood?bytes=6000", true},
  };
  for (const Row& row : rows) {
    LoopbackServer check("test_http_server.py", {"--answer-as", row.answerAs});
    ASSERT_NE(check.port(), 0) << row.name;
    const std::size_t alertsBefore = CountRequests(notify, "GET /trigger?");
    LiveMonitor monitor(HostOf(check), HostOf(notify));
    monitor.SetDomain("a.b");
    QCoreApplication::processEvents();
    const int descriptorsBefore = testing::OpenDescriptors();
    const auto start = std::chrono::steady_clock::now();

    monitor.StartButton()->click();

    const auto took = std::chrono::steady_clock::now() - start;
    const int descriptorsLeft = testing::OpenDescriptors() - descriptorsBefore;
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), "1") << row.name;
    EXPECT_EQ(CountRequests(notify, "GET /trigger?") - alertsBefore, row.alert ? 1u : 0u) << row.name;
    // The start completed: the program goes on monitoring.
    EXPECT_FALSE(monitor.StartButton()->isEnabled()) << row.name;
    EXPECT_EQ(monitor.Timer()->interval(), 60000) << row.name;
    EXPECT_LT(took, 10s) << row.name;
    EXPECT_EQ(descriptorsLeft, 0) << row.name;
    // The figure goes to the XML report (--gtest_output=xml), not to the console.
    RecordProperty(std::string(row.name) + ": tick ms",
                   static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));
  }
}

}  // namespace
}  // namespace kelvorat
