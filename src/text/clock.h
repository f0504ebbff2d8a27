// The clock layer behind CurrentDateTime: the system's local time, replaceable
// by tests.
#pragma once

#include <functional>

#include "text/text.h"

namespace kelvorat {

using ClockSource = std::function<DateTime()>;

// The local date and time from the system clock, whole seconds.
[[nodiscard]] DateTime SystemLocalDateTime();

// Makes CurrentDateTime answer from source while the object lives.
class ScopedClock {
 public:
  explicit ScopedClock(ClockSource source);
  ~ScopedClock();
  ScopedClock(const ScopedClock&) = delete;
  ScopedClock& operator=(const ScopedClock&) = delete;

 private:
  ClockSource previous_;
};

}  // namespace kelvorat
