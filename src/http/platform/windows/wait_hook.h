// A hook the Windows binding calls while a request's WinINet calls run on
// their worker, so that the thread which sent the request (the window's) can
// keep its window painted. The binding knows nothing of the window: the
// window layer installs the hook, and decides what may run from it.
#pragma once

#include <chrono>

namespace kelvorat::wininet::windows {

using WaitHook = void (*)();

// How long the waiting thread sleeps at most between two calls of the hook
// while one is installed: it is called as soon as a message that is not user
// input arrives (a repaint, a message sent or posted to the thread), and at
// least this often, so that the thread looks alive to the window system.
inline constexpr std::chrono::milliseconds kWaitSlice{15};

// Installs hook (nullptr removes it) for the calling thread's requests only:
// requests on any other thread never call it. Returns the previous hook,
// whichever thread installed it.
WaitHook SetWaitHook(WaitHook hook);

// The hook for the calling thread, nullptr when none (or when it is already
// running on this thread: a request made from inside the hook waits plainly).
[[nodiscard]] WaitHook WaitHookForThisThread();

// Calls the calling thread's hook, if any, guarded against running nested.
void CallWaitHook();

}  // namespace kelvorat::wininet::windows
