// What a hardening test measures of its own process and of the loopback: the
// descriptors it holds open, its peak memory, and a port that refuses.
#pragma once

namespace kelvorat::testing {

// Descriptors (files, sockets, pipes) this process holds open now.
[[nodiscard]] int OpenDescriptors();
// Peak resident size of this process so far, in MiB; -1 when unknown.
[[nodiscard]] long PeakResidentMiB();
// A loopback port that nothing listens on: connections to it are refused.
[[nodiscard]] int RefusingPort();

}  // namespace kelvorat::testing
