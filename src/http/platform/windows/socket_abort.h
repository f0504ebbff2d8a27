// Ending a blocked receive from outside. A WinINet call blocked on the
// network ends when its request handle is closed on Windows; wine's WinINet
// keeps waiting, so the socket it waits on is shut down as well.
#pragma once

#include <cstdint>
#include <vector>

namespace kelvorat::wininet::windows {

// Shuts down (both ways, without closing) every connected TCP socket of this
// process whose remote port is one of ports; returns how many it shut down.
// The owner of each socket still closes it as usual.
int ShutDownSocketsTo(const std::vector<std::uint16_t>& ports);

}  // namespace kelvorat::wininet::windows
