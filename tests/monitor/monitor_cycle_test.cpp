// The monitor cycle over a fake window and the recording HTTP platform.
#include "monitor/monitor_cycle.h"

#include <gtest/gtest.h>

#include "support/fake_window.h"
#include "monitor/control_names.h"
#include "support/recording_wininet.h"
#include "text/clock.h"

namespace kelvorat {
namespace {

using fakes::RecordingWinInet;
using fakes::ScriptedResponse;
using testing::FakeWindow;

// Two hosts apart, so that a URL built for the wrong service shows.
const ServiceHosts kHosts{"check.test:18080", "notify.test"};
const std::string kCheckBase = "http://check.test:18080";
const std::string kNotifyBase = "http://notify.test";
constexpr std::string_view kDomainOkUtf8 = "{\"msg\":\"\xE5\x9F\x9F\xE5\x90\x8D\xE6\xAD\xA3\xE5\xB8\xB8\"}";
constexpr std::string_view kDomainOkGbk = "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3";
constexpr std::string_view kFillInDomain =
    "\xC7\xEB\xCF\xC8\xCC\xEE\xD0\xB4\xB4\xFD\xBC\xEC\xB2\xE2\xD3\xF2\xC3\xFB";  // 请先填写待检测域名
constexpr std::string_view kFillInCode = "\xC7\xEB\xCF\xC8\xCC\xEE\xD0\xB4\xDF\xF7\xC2\xEB";  // 请先填写喵码
constexpr std::string_view kNoticeTitle = "\xCC\xE1\xCA\xBE";  // 提示

// The URL each request was made for, as its Referer line carries it.
std::vector<std::string> RequestedUrls(const RecordingWinInet& platform) {
  std::vector<std::string> urls;
  for (const auto& exchange : platform.exchanges()) {
    const std::string& headers = exchange.headers.value_or("");
    const auto at = headers.find("Referer: ");
    if (at == std::string::npos) continue;
    const auto end = headers.find("\r\n", at);
    urls.push_back(headers.substr(at + 9, end == std::string::npos ? end : end - at - 9));
  }
  return urls;
}

class MonitorCycleTest : public ::testing::Test {
 protected:
  MonitorCycleTest() { platform.SetDefaultResponse(ScriptedResponse::WithBody(kDomainOkUtf8)); }

  void Blocked() { platform.SetDefaultResponse(ScriptedResponse::WithBody("{\"msg\":\"blocked\"}")); }
  Text Shown(std::string_view control) { return window.texts[std::string(control)]; }

  RecordingWinInet platform;
  wininet::ScopedWinInet usePlatform{platform};
  FakeWindow window;
  MonitorCycle cycle{window, kHosts, kSixtySecondsMs};
};

TEST_F(MonitorCycleTest, RefusedStartShowsMessageFocusesBoxAndChangesNothing) {
  struct Row {
    const char* name;
    Text domain, code;
    std::string_view message;
    std::string_view focus;
  };
  const Row rows[] = {
      {"empty domain", "", "Rb8nQe2", kFillInDomain, controls::kDomainEdit},
      {"both empty: domain first", "", "", kFillInDomain, controls::kDomainEdit},
      {"empty code", "a.b", "", kFillInCode, controls::kCodeEdit},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeWindow w;
    MonitorCycle c{w, kHosts, kSixtySecondsMs};
    w.texts[std::string(controls::kDomainEdit)] = row.domain;
    w.texts[std::string(controls::kCodeEdit)] = row.code;
    c.StartButtonClicked();
    ASSERT_EQ(w.messages.size(), 1u);
    EXPECT_EQ(w.messages[0].text, row.message);
    EXPECT_EQ(w.messages[0].title, kNoticeTitle);
    EXPECT_EQ(w.focus, row.focus);
    EXPECT_EQ(c.checkCount(), 0);
    EXPECT_EQ(w.timerPeriod, 0);
    EXPECT_TRUE(w.IsEnabled(controls::kStartButton));
    EXPECT_TRUE(w.IsEnabled(controls::kDomainEdit));
  }
  EXPECT_TRUE(platform.calls().empty());
}

TEST_F(MonitorCycleTest, StartWithAnotherInterfaceDoesNothingAtAll) {
  for (int index : {1, -1}) {
    window.selectedIndex[std::string(controls::kInterfaceList)] = index;
    cycle.StopButtonClicked();
    cycle.StartButtonClicked();
    EXPECT_EQ(cycle.monitorStopped(), 1);
  }
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(platform.calls().empty());
  EXPECT_EQ(window.timerPeriod, 0);
  EXPECT_TRUE(window.IsEnabled(controls::kStartButton));
  EXPECT_TRUE(Shown(controls::kLastCheckEdit).empty());
}

TEST_F(MonitorCycleTest, CheckUrlCarriesTheDomainAsTyped) {
  struct Row {
    const char* name;
    Text domain;
    std::string expectedUrl;
  };
  const Row rows[] = {
      {"plain", "a.b", kCheckBase + "/k4tq7mbh/wxcheck?url=a.b"},
      {"one space, not trimmed", " ", kCheckBase + "/k4tq7mbh/wxcheck?url= "},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    platform.ClearRecords();
    window.texts[std::string(controls::kDomainEdit)] = row.domain;
    cycle.MonitorTimerTick();
    ASSERT_EQ(RequestedUrls(platform), std::vector<std::string>{row.expectedUrl});
    EXPECT_EQ(platform.exchanges()[0].verb, "GET");
  }
}

TEST_F(MonitorCycleTest, BlockedDomainSendsTheEncodedAlertToTheCode) {
  Blocked();
  window.texts[std::string(controls::kDomainEdit)] = "a.b";
  cycle.MonitorTimerTick();
  const auto urls = RequestedUrls(platform);
  ASSERT_EQ(urls.size(), 2u);
  EXPECT_EQ(urls[1], kNotifyBase + "/trigger?id=Rb8nQe2&text=%61%2E%62%D2%D1%B1%BB%B7%E2%A3%A1");
  EXPECT_TRUE(platform.OpenHandles().empty());
}

TEST_F(MonitorCycleTest, VerdictDecidesWhetherTheAlertGoesOut) {
  struct Row {
    const char* name;
    std::string_view answer;
    bool refused;
    size_t expectedRequests;
  };
  const Row rows[] = {
      {"UTF-8 verdict: not blocked", kDomainOkUtf8, false, 1},
      {"verdict in code page 936 bytes does not match", kDomainOkGbk, false, 2},
      {"empty answer counts as blocked", "", false, 2},
      {"unreachable service counts as blocked", kDomainOkUtf8, true, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingWinInet p;
    p.SetDefaultResponse(ScriptedResponse::WithBody(row.answer));
    if (row.refused) p.SetRefusal(fakes::Refusal::kConnection);
    wininet::ScopedWinInet use(p);
    FakeWindow w;
    MonitorCycle c{w, kHosts, kSixtySecondsMs};
    c.MonitorTimerTick();
    EXPECT_EQ(p.exchanges().size(), row.expectedRequests);
    EXPECT_EQ(c.checkCount(), 1);
    EXPECT_EQ(w.texts[std::string(controls::kCheckCountEdit)], "1");
  }
}

TEST_F(MonitorCycleTest, TimeShownIsWhenTheCheckBegan) {
  ScopedClock clock([this] {
    return platform.calls().empty() ? DateTime{2024, 3, 5, 14, 7, 9} : DateTime{2024, 3, 5, 14, 8, 0};
  });
  cycle.MonitorTimerTick();
  EXPECT_EQ(Shown(controls::kLastCheckEdit), DateTimeToText(DateTime{2024, 3, 5, 14, 7, 9}));
}

TEST_F(MonitorCycleTest, StartStopStartKeepsCounterAndTimerSchedule) {
  cycle.StartButtonClicked();
  EXPECT_EQ(cycle.checkCount(), 1);
  EXPECT_EQ(window.timerPeriod, 60000);
  EXPECT_EQ(window.timerRestarts, 1);
  EXPECT_FALSE(window.IsEnabled(controls::kStartButton));
  EXPECT_FALSE(window.IsEnabled(controls::kDomainEdit));

  cycle.TimerFired();
  EXPECT_EQ(cycle.checkCount(), 2);

  cycle.StopButtonClicked();
  EXPECT_EQ(cycle.monitorStopped(), 1);
  EXPECT_TRUE(window.IsEnabled(controls::kStartButton));
  EXPECT_TRUE(window.IsEnabled(controls::kDomainEdit));
  EXPECT_EQ(window.timerPeriod, 60000) << "stop leaves the timer running";

  const Text shownTime = Shown(controls::kLastCheckEdit);
  platform.ClearRecords();
  cycle.TimerFired();  // paused: nothing happens
  EXPECT_EQ(cycle.checkCount(), 2);
  EXPECT_EQ(Shown(controls::kCheckCountEdit), "2");
  EXPECT_EQ(Shown(controls::kLastCheckEdit), shownTime);
  EXPECT_TRUE(platform.calls().empty());

  cycle.StartButtonClicked();
  EXPECT_EQ(cycle.monitorStopped(), 0);
  EXPECT_EQ(cycle.checkCount(), 3);
  EXPECT_EQ(Shown(controls::kCheckCountEdit), "3");
  EXPECT_EQ(window.timerRestarts, 1) << "the same period keeps the running schedule";
}

TEST_F(MonitorCycleTest, OtherFrequencyLeavesOnlyTheImmediateTick) {
  cycle.StartButtonClicked();
  ASSERT_EQ(window.timerPeriod, 60000);
  cycle.StopButtonClicked();
  window.texts[std::string(controls::kFrequencyList)] = "30\xC3\xEB";  // 30秒
  cycle.StartButtonClicked();
  EXPECT_EQ(window.timerPeriod, 0);
  EXPECT_EQ(cycle.checkCount(), 2);
}

TEST_F(MonitorCycleTest, StopClickedDuringATickLetsItFinish) {
  Blocked();
  window.pendingEvents.push_back([this] { cycle.StopButtonClicked(); });
  cycle.MonitorTimerTick();
  EXPECT_EQ(platform.exchanges().size(), 2u) << "the alert still goes out";
  EXPECT_EQ(cycle.checkCount(), 1);
  EXPECT_EQ(cycle.monitorStopped(), 1);
  cycle.TimerFired();
  EXPECT_EQ(cycle.checkCount(), 1);
}

TEST_F(MonitorCycleTest, StartClickedDuringTheImmediateTickRunsANestedTick) {
  window.pendingEvents.push_back([this] { cycle.StartButtonClicked(); });
  cycle.StartButtonClicked();
  EXPECT_EQ(cycle.checkCount(), 2);
  EXPECT_EQ(Shown(controls::kCheckCountEdit), "2");
  EXPECT_EQ(platform.exchanges().size(), 2u);
}

TEST_F(MonitorCycleTest, TimerEventDuringATickDoesNotNest) {
  Blocked();
  for (int i = 0; i < 5; ++i) window.pendingEvents.push_back([this] { cycle.TimerFired(); });
  cycle.MonitorTimerTick();
  EXPECT_EQ(cycle.checkCount(), 1);
  EXPECT_EQ(platform.exchanges().size(), 2u);
  cycle.TimerFired();
  EXPECT_EQ(cycle.checkCount(), 2);
}

TEST_F(MonitorCycleTest, WindowClosedInsideATickIsNeverTouchedAgain) {
  struct Row {
    const char* name;
    bool blocked;
    int closeAtPendingRun;  // close during the n-th pending-events step
    size_t expectedRequests;
  };
  const Row rows[] = {
      {"closed after the check", true, 1, 1},
      {"closed after the alert", true, 2, 2},
      {"closed after a check that found the domain fine", false, 1, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    RecordingWinInet p;
    p.SetDefaultResponse(ScriptedResponse::WithBody(row.blocked ? "" : kDomainOkUtf8));
    wininet::ScopedWinInet use(p);
    FakeWindow w;
    MonitorCycle c{w, kHosts, kSixtySecondsMs};
    w.onProcessPendingEvents = [&] {
      if (w.pendingEventRuns == row.closeAtPendingRun) w.Close();
    };
    c.StartButtonClicked();
    EXPECT_EQ(w.touchedAfterClose, 0);
    EXPECT_EQ(p.exchanges().size(), row.expectedRequests);
    EXPECT_TRUE(p.OpenHandles().empty());
  }
}

}  // namespace
}  // namespace kelvorat
