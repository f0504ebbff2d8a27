// A hook the HTTP binding calls while a request waits on the network, so
// that the thread which sent the request (the window's) can keep its window
// painted. The bindings know nothing of any toolkit: the window layer
// installs the hook, and decides what may run from it.
#pragma once

#include <chrono>

namespace kelvorat::wininet {

using WaitHook = void (*)();

// How long one socket wait lasts at most while a hook is installed: short
// enough that a window redrawn between two waits looks smooth.
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

}  // namespace kelvorat::wininet
