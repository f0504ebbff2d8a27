// The worker waits for a job, runs it and signals its end; the two sides
// meet through two auto-reset events.
#include "http/platform/windows/request_worker.h"

#include <algorithm>
#include <utility>

#include "http/platform/wait_hook.h"

namespace kelvorat::wininet::windows {

// What the caller and the thread share; the last of them frees it, so that
// an abandoned thread still finds it.
struct RequestWorker::Shared {
  Shared()
      : jobReady(CreateEventW(nullptr, FALSE, FALSE, nullptr)), jobDone(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~Shared() {
    if (jobReady != nullptr) CloseHandle(jobReady);
    if (jobDone != nullptr) CloseHandle(jobDone);
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  HANDLE jobReady;
  HANDLE jobDone;
  std::function<void()> job;  // set before jobReady; empty: end the thread
};

namespace {

DWORD MillisecondsUntil(RequestWorker::Clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - RequestWorker::Clock::now());
  return static_cast<DWORD>(std::clamp<long long>(left.count(), 0, 0x7FFFFFFF));
}

// What wakes a thread with a wait hook: a repaint, a message sent or posted
// to it. User input does not: it stays queued for the thread's own loop.
constexpr DWORD kWakingMessages = QS_PAINT | QS_SENDMESSAGE | QS_POSTMESSAGE;

// Waits up to milliseconds for done to be signalled. A thread with a wait
// hook waits for its messages too, calling the hook whenever one arrives and
// at least every kWaitSlice; any other thread waits plainly.
bool WaitFor(HANDLE done, DWORD milliseconds) {
  if (WaitHookForThisThread() == nullptr) return WaitForSingleObject(done, milliseconds) == WAIT_OBJECT_0;
  const RequestWorker::Clock::time_point end = RequestWorker::Clock::now() + std::chrono::milliseconds(milliseconds);
  for (;;) {
    const DWORD slice = std::min<DWORD>(MillisecondsUntil(end), static_cast<DWORD>(kWaitSlice.count()));
    const DWORD woken = MsgWaitForMultipleObjects(1, &done, FALSE, slice, kWakingMessages);
    if (woken == WAIT_OBJECT_0) return true;
    if (woken == WAIT_FAILED) return WaitForSingleObject(done, MillisecondsUntil(end)) == WAIT_OBJECT_0;
    if (RequestWorker::Clock::now() >= end) return WaitForSingleObject(done, 0) == WAIT_OBJECT_0;
    CallWaitHook();
  }
}

}  // namespace

RequestWorker::RequestWorker() : shared_(std::make_shared<Shared>()) {
  if (shared_->jobReady == nullptr || shared_->jobDone == nullptr) {
    abandoned_ = true;
    return;
  }
  auto* parameter = new std::shared_ptr<Shared>(shared_);
  thread_ = CreateThread(nullptr, 0, &RequestWorker::ThreadMain, parameter, 0, nullptr);
  if (thread_ == nullptr) {
    delete parameter;
    abandoned_ = true;
  }
}

RequestWorker::~RequestWorker() {
  if (thread_ == nullptr) return;
  // An abandoned thread is still in its job; it ends when it comes back.
  if (!abandoned_) {
    shared_->job = nullptr;
    SetEvent(shared_->jobReady);
    WaitForSingleObject(thread_, 5000);
  }
  CloseHandle(thread_);
}

DWORD WINAPI RequestWorker::ThreadMain(void* parameter) {
  std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(parameter));
  delete static_cast<std::shared_ptr<Shared>*>(parameter);
  for (;;) {
    WaitForSingleObject(shared->jobReady, INFINITE);
    std::function<void()> job = std::move(shared->job);
    shared->job = nullptr;
    if (!job) return 0;
    job();
    SetEvent(shared->jobDone);
  }
}

RequestWorker::Outcome RequestWorker::Run(std::function<void()> job, Clock::time_point deadline,
                                          const std::function<void()>& abort, std::chrono::milliseconds grace) {
  if (abandoned_) return Outcome::kAbandoned;
  shared_->job = std::move(job);
  SetEvent(shared_->jobReady);
  if (WaitFor(shared_->jobDone, MillisecondsUntil(deadline))) return Outcome::kDone;
  // Again and again: a call that follows a redirect opens a new connection
  // after the aborted one.
  const Clock::time_point giveUp = Clock::now() + grace;
  do {
    abort();
    if (WaitFor(shared_->jobDone, 100)) return Outcome::kAborted;
  } while (Clock::now() < giveUp);
  abandoned_ = true;
  // The thread ends once its job returns: it finds no next job.
  SetEvent(shared_->jobReady);
  return Outcome::kAbandoned;
}

}  // namespace kelvorat::wininet::windows

