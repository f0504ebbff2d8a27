// Which platform binding the request engine talks to: the backend's own, or a
// replacement a test has put in place.
#include "http/platform/wininet.h"

namespace kelvorat::wininet {
namespace {

// The replacement in force, null when the backend's binding applies.
WinInetApi* replacement = nullptr;

}  // namespace

WinInetApi& CurrentWinInet() { return replacement != nullptr ? *replacement : DefaultWinInet(); }

ScopedWinInet::ScopedWinInet(WinInetApi& api) : previous_(replacement) { replacement = &api; }

ScopedWinInet::~ScopedWinInet() { replacement = previous_; }

}  // namespace kelvorat::wininet
