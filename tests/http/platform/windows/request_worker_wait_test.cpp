// The caller's wait of the request worker with a wait hook: the hook runs on
// the thread that installed it, often, and for no one else; a plain wait for
// every other thread; the outcome as without a hook.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "http/platform/windows/request_worker.h"
#include "http/platform/wait_hook.h"

namespace kelvorat::wininet::windows {
namespace {

using namespace std::chrono_literals;

std::atomic<int> calls{0};
std::atomic<int> nestedCalls{-1};  // calls seen while a job run inside the hook waited

void CountingHook() { ++calls; }

void HookRunningAJob() {
  ++calls;
  if (nestedCalls >= 0) return;
  const int before = calls;
  RequestWorker worker;
  worker.Run([] { Sleep(100); }, RequestWorker::Clock::now() + 1s, [] {});
  nestedCalls = calls - before;
}

class RequestWorkerWaitTest : public ::testing::Test {
 protected:
  void SetUp() override { calls = 0; }
  void TearDown() override { SetWaitHook(previous_); }

  WaitHook previous_ = SetWaitHook(nullptr);
};

TEST_F(RequestWorkerWaitTest, TheHookRunsThroughoutTheWaitOfTheThreadThatInstalledIt) {
  SetWaitHook(&CountingHook);
  RequestWorker worker;
  EXPECT_EQ(worker.Run([] { Sleep(400); }, RequestWorker::Clock::now() + 5s, [] {}), RequestWorker::Outcome::kDone);
  // Every 15 ms at most: well over ten calls in 400 ms, even on a slow machine.
  EXPECT_GT(calls, 10);

  // Past the deadline the abort ends the job, and the hook still runs.
  calls = 0;
  HANDLE stop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(worker.Run([stop] { WaitForSingleObject(stop, 5000); }, RequestWorker::Clock::now() + 200ms,
                       [stop] { SetEvent(stop); }),
            RequestWorker::Outcome::kAborted);
  EXPECT_GT(calls, 5);
  CloseHandle(stop);
}

TEST_F(RequestWorkerWaitTest, OtherThreadsAndJobsRunInsideTheHookWaitPlainly) {
  SetWaitHook(&CountingHook);
  std::thread other([] {
    RequestWorker worker;
    worker.Run([] { Sleep(200); }, RequestWorker::Clock::now() + 5s, [] {});
  });
  other.join();
  EXPECT_EQ(calls, 0);

  nestedCalls = -1;
  SetWaitHook(&HookRunningAJob);
  RequestWorker worker;
  EXPECT_EQ(worker.Run([] { Sleep(100); }, RequestWorker::Clock::now() + 5s, [] {}), RequestWorker::Outcome::kDone);
  EXPECT_EQ(nestedCalls, 0);
}

}  // namespace
}  // namespace kelvorat::wininet::windows
