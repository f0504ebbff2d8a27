// Settings of the libcurl binding of the WinINet platform (SystemBinding()
// on Linux).
#pragma once

#include <chrono>
#include <cstddef>

#include "http/platform/wininet.h"

namespace kelvorat::wininet {

// Time-outs of every request: the connection (TLS handshake included) must be
// made within `connect`, a transfer that receives less than a byte a second
// for `idle` ends as a failed one, and so does one that is not over after
// `total`, so that a server trickling bytes cannot hold the program for ever.
// The program's answers are a few hundred bytes that come in well under a
// second; two minutes still lets a large body over a slow line arrive.
struct CurlTimeouts {
  std::chrono::milliseconds connect{60000};
  std::chrono::seconds idle{30};
  std::chrono::seconds total{120};
};

// Puts new time-outs in place for requests sent from now on; returns the
// previous ones.
CurlTimeouts SetCurlTimeouts(CurlTimeouts timeouts);
[[nodiscard]] CurlTimeouts CurrentCurlTimeouts();

// The most body bytes one request takes in: a longer body ends the transfer
// as a failed one, so that a body without end cannot fill the memory (the
// engine holds the whole body). Twice the largest body the engine is known
// to carry (64 MiB); the program's own answers are a few hundred bytes.
inline constexpr std::size_t kDefaultMaxBodyBytes = std::size_t{128} << 20;

// Puts a new limit in place for requests sent from now on; returns the
// previous one.
std::size_t SetCurlMaxBodyBytes(std::size_t bytes);
[[nodiscard]] std::size_t CurrentCurlMaxBodyBytes();

}  // namespace kelvorat::wininet
