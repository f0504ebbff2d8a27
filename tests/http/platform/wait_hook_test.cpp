#include "http/platform/wait_hook.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "http/platform/curl/curl_transfer.h"
#include "support/loopback_server.h"

namespace kelvorat::wininet::curl {
namespace {

using testing::LoopbackServer;

// The body of one whole transfer, "" when it failed.
std::string Fetch(const std::string& url) {
  TransferSpec spec;
  spec.url = url;
  CurlTransfer transfer(std::move(spec));
  if (!transfer.Start()) return {};
  std::string body;
  char buffer[1024];
  std::size_t count = 0;
  while (transfer.Read(buffer, sizeof buffer, &count) && count > 0) body.append(buffer, count);
  return body;
}

std::atomic<int> calls{0};
std::atomic<int> nestedCalls{-1};  // calls seen while a request made inside the hook ran
std::string nestedUrl;

void CountingHook() { ++calls; }

void HookMakingARequest() {
  ++calls;
  if (nestedCalls >= 0) return;
  const int before = calls;
  const bool answered = Fetch(nestedUrl) == "ok";
  nestedCalls = answered ? calls - before : -2;
}

class WaitHookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(server_.port(), 0);
    calls = 0;
  }
  void TearDown() override { SetWaitHook(previous_); }

  // An answer ("ok") that takes 400 ms.
  std::string SlowUrl() const { return server_.Url("/delay?ms=400&hex=6f6b"); }

  LoopbackServer server_{"test_http_server.py"};
  WaitHook previous_ = SetWaitHook(nullptr);
};

TEST_F(WaitHookTest, RunsBetweenShortWaitsOnTheThreadThatInstalledIt) {
  SetWaitHook(&CountingHook);
  EXPECT_EQ(Fetch(SlowUrl()), "ok");
  // Waits of at most kWaitSlice: many calls over 400 ms, not one a second.
  EXPECT_GE(calls.load(), 5);

  calls = 0;
  std::string elsewhere;
  std::thread([&] { elsewhere = Fetch(SlowUrl()); }).join();
  EXPECT_EQ(elsewhere, "ok");
  EXPECT_EQ(calls.load(), 0) << "another thread's request";

  SetWaitHook(nullptr);
  EXPECT_EQ(Fetch(SlowUrl()), "ok");
  EXPECT_EQ(calls.load(), 0) << "removed";
}

TEST_F(WaitHookTest, ARequestMadeInsideTheHookWaitsWithoutCallingIt) {
  nestedUrl = SlowUrl();
  nestedCalls = -1;
  SetWaitHook(&HookMakingARequest);
  EXPECT_EQ(Fetch(SlowUrl()), "ok");
  EXPECT_EQ(nestedCalls.load(), 0);
  EXPECT_GE(calls.load(), 2) << "and the outer request goes on calling it";
}

}  // namespace
}  // namespace kelvorat::wininet::curl
