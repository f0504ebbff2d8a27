// The wait hook: one per process, tied to the thread that installed it.
#include "http/platform/windows/wait_hook.h"

#include <mutex>
#include <thread>

namespace kelvorat::wininet::windows {
namespace {

std::mutex mutex;
WaitHook installed = nullptr;
std::thread::id owner;
thread_local bool running = false;

}  // namespace

WaitHook SetWaitHook(WaitHook hook) {
  std::lock_guard lock(mutex);
  const WaitHook previous = installed;
  installed = hook;
  owner = std::this_thread::get_id();
  return previous;
}

WaitHook WaitHookForThisThread() {
  if (running) return nullptr;
  std::lock_guard lock(mutex);
  return owner == std::this_thread::get_id() ? installed : nullptr;
}

void CallWaitHook() {
  const WaitHook hook = WaitHookForThisThread();
  if (hook == nullptr) return;
  struct Running {
    Running() { running = true; }
    ~Running() { running = false; }
  } scope;
  hook();
}

}  // namespace kelvorat::wininet::windows
