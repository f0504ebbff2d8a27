// The bounds every request of the platform layer runs within, whichever
// binding carries it: a server that is silent, trickles bytes or sends without
// end ends the transfer as a failed one, so that no request holds the program
// for ever or fills its memory.
#pragma once

#include <chrono>
#include <cstddef>

namespace kelvorat::wininet {

// The connection (TLS handshake included) must be made within `connect`; a
// transfer that receives nothing for `idle` ends as failed, and so does one
// that is not over after `total` or whose body grows past `maxBodyBytes`.
// The program's answers are a few hundred bytes that come in well under a
// second; two minutes still lets a large body over a slow line arrive, and
// the body limit is twice the largest body the engine is known to carry
// (64 MiB).
struct TransferBounds {
  std::chrono::milliseconds connect{60000};
  std::chrono::seconds idle{30};
  std::chrono::seconds total{120};
  std::size_t maxBodyBytes = std::size_t{128} << 20;
};

// Puts new bounds in place for requests sent from now on; returns the
// previous ones. Tests shorten them here; the program keeps the defaults.
TransferBounds SetTransferBounds(TransferBounds bounds);
[[nodiscard]] TransferBounds CurrentTransferBounds();

}  // namespace kelvorat::wininet
