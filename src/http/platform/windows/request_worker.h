// A thread of its own for the blocking WinINet calls of one request, so that
// the caller can stop waiting at a deadline: the call is then aborted from
// the caller's side and, should it still not return, left to end on its own.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>

namespace kelvorat::wininet::windows {

class RequestWorker {
 public:
  using Clock = std::chrono::steady_clock;
  enum class Outcome {
    kDone,       // the job returned in time
    kAborted,    // the deadline passed; abort() made the job return
    kAbandoned,  // not even abort() ended it: the job runs on alone
  };

  RequestWorker();
  // Ends the thread; a job given up on is left to end on its own.
  ~RequestWorker();
  RequestWorker(const RequestWorker&) = delete;
  RequestWorker& operator=(const RequestWorker&) = delete;

  // Runs job on the worker thread and waits for it until deadline; then calls
  // abort (on this thread) every 100 ms for up to `grace` more. A caller with
  // a wait hook (wait_hook.h) has it called throughout. Once a job has been
  // abandoned, or when the thread could not be started, jobs are refused:
  // kAbandoned at once. Whatever the job touches must outlive an abandoned
  // job: capture it by value.
  Outcome Run(std::function<void()> job, Clock::time_point deadline, const std::function<void()>& abort,
              std::chrono::milliseconds grace = std::chrono::seconds(5));

 private:
  struct Shared;
  static DWORD WINAPI ThreadMain(void* parameter);

  std::shared_ptr<Shared> shared_;
  HANDLE thread_ = nullptr;
  bool abandoned_ = false;
};

}  // namespace kelvorat::wininet::windows
