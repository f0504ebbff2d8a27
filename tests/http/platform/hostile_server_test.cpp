// The request engine over the system's binding (libcurl on Linux, wininet.dll
// on Windows) against servers that misbehave: each request must end within
// the bounds, report the failure as the empty answer, and leave no socket,
// thread or other handle open behind it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "http/http_request.h"
#include "http/platform/transfer_bounds.h"
#include "support/loopback_server.h"
#include "support/process_probe.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::LoopbackServer;
using testing::OpenDescriptors;
using testing::PeakResidentMiB;
using testing::RefusingPort;
using wininet::TransferBounds;

struct Outcome {
  Bytes body;
  Text responseHeaders;
  Text receivedCookies;
  std::chrono::milliseconds took{};
  int descriptorsLeft = 0;
};

// Short time-outs and a small body limit, so that each case ends in seconds.
class HostileServerTest : public ::testing::Test {
 protected:
  static constexpr TransferBounds kShort{2000ms, 1s, 3s, std::size_t{1} << 20};

  void SetUp() override {
    ASSERT_NE(server_.port(), 0);
    (void)HttpRequest(server_.Url("/echo"));  // whatever the first request opens for good
  }
  void TearDown() override { wininet::SetTransferBounds(previousBounds_); }

  Outcome Fetch(const std::string& url) {
    Outcome out;
    const int before = OpenDescriptors();
    const auto start = std::chrono::steady_clock::now();
    out.body = HttpRequest(url, {.receivedCookies = &out.receivedCookies,
                                 .responseHeaders = &out.responseHeaders});
    out.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
    out.descriptorsLeft = OpenDescriptors() - before;
    return out;
  }

  LoopbackServer server_{"test_http_server.py"};
  TransferBounds previousBounds_ = wininet::SetTransferBounds(kShort);
};

TEST_F(HostileServerTest, FailingServersGiveTheEmptyAnswerWithinTheTimeOuts) {
  struct Row {
    const char* name;
    std::string path;
  };
  const Row rows[] = {
      {"accepts and never answers", "/silent"},
      {"headers, then a byte every 2 s", "/trickle?every=2"},
      {"headers, then 20 bytes a second (above the idle limit)", "/trickle?every=0.05"},
      {"resets the connection mid-body", "/reset?after=40"},
      {"body without end", "/endless"},
      {"headers without end", "/header-flood"},
      {"status line that is not HTTP", "/not-http"},
      {"redirect loop", "/loop"},
      {"redirect to a host that refuses connections",
       "/redirect?to=http://127.0.0.1:" + std::to_string(RefusingPort()) + "/"},
  };
  const int before = OpenDescriptors();
  for (const Row& row : rows) {
    const Outcome out = Fetch(server_.Url(row.path));
    EXPECT_EQ(out.body, Bytes{}) << row.name;
    // The bound is the 3-second total plus start-up; what matters is that it ends.
    EXPECT_LT(out.took, 10s) << row.name;
    EXPECT_LE(std::abs(out.descriptorsLeft), testing::kKeptConnections) << row.name;
    // The figures go to the XML report (--gtest_output=xml), not to the console.
    RecordProperty(std::string(row.name) + ": ms", static_cast<int>(out.took.count()));
  }
  EXPECT_LE(OpenDescriptors() - before, testing::kKeptConnections) << "nothing piles up from case to case";
  EXPECT_LE(server_.Requests().size(), 1u + std::size(rows) + 10u) << "the loop was cut after 10 redirects";
}

TEST_F(HostileServerTest, OversizedHeaderBlockKeepsTheBodyButNotTheHeaders) {
  const Outcome out = Fetch(server_.Url("/header-flood?bytes=6000"));
  EXPECT_EQ(out.body, Bytes({'f', 'l', 'o', 'o', 'd', 'e', 'd'}));
  EXPECT_EQ(out.responseHeaders, Text(5000, ' '));
  EXPECT_EQ(out.receivedCookies, "");
  EXPECT_LE(std::abs(out.descriptorsLeft), testing::kKeptConnections);
}

TEST_F(HostileServerTest, InvalidUtf8AndZeroBytesComeBackAsSent) {
  const Bytes sent = {0xFF, 0xFE, 0xC0, 0xAF, 0x00, 0xE5, 0x9F, 0x9F, 0x00};
  const std::string url = server_.Url("/body?hex=fffec0af00e59f9f00");
  EXPECT_EQ(Fetch(url).body, sent);
  EXPECT_EQ(HttpGetText(url), "\xFF\xFE\xC0\xAF");
}

// The limits the program itself runs with: every wait has an end, and a body
// without end stops at the body limit instead of filling the memory.
TEST_F(HostileServerTest, DefaultLimitsAreBoundedAndStopABodyWithoutEnd) {
  const TransferBounds defaults;
  EXPECT_GT(defaults.connect, 0ms);
  EXPECT_LE(defaults.connect, 60s);
  EXPECT_GT(defaults.idle, 0s);
  EXPECT_LE(defaults.idle, 30s);
  EXPECT_GT(defaults.total, 0s);
  EXPECT_LE(defaults.total, 120s);
  EXPECT_GE(defaults.maxBodyBytes, std::size_t{64} << 20) << "64 MiB bodies must still come through";
  EXPECT_LE(defaults.maxBodyBytes, std::size_t{128} << 20);

  wininet::SetTransferBounds(defaults);
  const Outcome out = Fetch(server_.Url("/endless"));
  EXPECT_EQ(out.body, Bytes{});
  EXPECT_LE(std::abs(out.descriptorsLeft), testing::kKeptConnections);
  RecordProperty("gave up after ms", static_cast<int>(out.took.count()));
  RecordProperty("peak resident MiB", static_cast<int>(PeakResidentMiB()));
}

}  // namespace
}  // namespace kelvorat
