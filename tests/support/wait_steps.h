// The waits of a request as steps of a test: while a WaitSteps lives, each
// wait of a request on this thread runs the window layer's wait hook and then
// the test's own step for it, so a test acts "during wait N" whatever the
// network's timing.
#pragma once

#include <functional>
#include <utility>

#include "http/platform/wait_hook.h"

namespace kelvorat::testing {

// Runs the window layer's wait hook and then the test's step for that wait
// (numbered from 1), for as long as it exists.
class WaitSteps {
 public:
  explicit WaitSteps(std::function<void(int wait)> step)
      : step_(std::move(step)), windowHook_(wininet::SetWaitHook(&WaitSteps::Hook)) {
    current_ = this;
  }
  ~WaitSteps() {
    wininet::SetWaitHook(windowHook_);
    current_ = nullptr;
  }
  WaitSteps(const WaitSteps&) = delete;
  WaitSteps& operator=(const WaitSteps&) = delete;

  [[nodiscard]] bool windowHooked() const { return windowHook_ != nullptr; }
  [[nodiscard]] int waits() const { return waits_; }
  // True while the window layer's hook runs: inside a request's wait.
  [[nodiscard]] static bool InWait() { return current_ != nullptr && current_->inWait_; }

 private:
  static void Hook() {
    WaitSteps* self = current_;
    ++self->waits_;
    self->inWait_ = true;
    if (self->windowHook_ != nullptr) self->windowHook_();
    self->inWait_ = false;
    self->step_(self->waits_);
  }

  static inline WaitSteps* current_ = nullptr;
  std::function<void(int)> step_;
  wininet::WaitHook windowHook_;
  int waits_ = 0;
  bool inWait_ = false;
};

// Counts the calls of a handler (or signal), and those made inside a request's wait.
struct Calls {
  int total = 0;
  int inWait = 0;
  void operator()() {
    ++total;
    inWait += WaitSteps::InWait();
  }
};

}  // namespace kelvorat::testing
