// Settings of the libcurl binding of the WinINet platform (DefaultWinInet()
// on Linux).
#pragma once

#include <chrono>

#include "http/platform/wininet.h"

namespace kelvorat::wininet {

// Time-outs of every request: the connection (TLS handshake included) must be
// made within `connect`, and a transfer that receives nothing for `idle` ends
// as a failed one. The defaults are the platform's own.
struct CurlTimeouts {
  std::chrono::milliseconds connect{60000};
  std::chrono::seconds idle{30};
};

// Puts new time-outs in place for requests sent from now on; returns the
// previous ones.
CurlTimeouts SetCurlTimeouts(CurlTimeouts timeouts);
[[nodiscard]] CurlTimeouts CurrentCurlTimeouts();

}  // namespace kelvorat::wininet
