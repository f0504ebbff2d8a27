// The clock layer: the system's local time, or a source a test has put in place.
#include "text/clock.h"

#include <algorithm>
#include <ctime>
#include <mutex>
#include <utility>

namespace kelvorat {
namespace {

std::mutex clockMutex;
ClockSource& CurrentSource() {
  static ClockSource source;  // empty: the system clock
  return source;
}

}  // namespace

DateTime SystemLocalDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return DateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                  local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

DateTime CurrentDateTime() {
  ClockSource source;
  {
    std::lock_guard lock(clockMutex);
    source = CurrentSource();
  }
  return source ? source() : SystemLocalDateTime();
}

ScopedClock::ScopedClock(ClockSource source) {
  std::lock_guard lock(clockMutex);
  previous_ = std::exchange(CurrentSource(), std::move(source));
}

ScopedClock::~ScopedClock() {
  std::lock_guard lock(clockMutex);
  CurrentSource() = std::move(previous_);
}

}  // namespace kelvorat
