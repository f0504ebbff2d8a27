// Collects the raw header block of the last response from the header lines
// libcurl hands over: interim (1xx) and redirect responses are replaced by the
// next one, and trailer lines after a chunked body are not part of it.
#pragma once

#include <string>
#include <string_view>

namespace kelvorat::wininet::curl {

class RawHeaderCapture {
 public:
  // Takes one line as libcurl delivers it, line end included or not.
  void AddLine(std::string_view line);

  // True once the blank line after the current response's headers came.
  [[nodiscard]] bool complete() const { return state_ == State::kComplete; }
  // The status code of the current response, 0 before its status line.
  [[nodiscard]] int status() const { return status_; }
  // True when the current response carries a non-empty Location header.
  [[nodiscard]] bool hasLocation() const { return !location_.empty(); }
  // Its value without surrounding spaces and tabs, "" when there is none.
  [[nodiscard]] const std::string& location() const { return location_; }
  // The status line as it came and the header lines in "Name: value" form
  // (see HeaderLine), each ending "\r\n", then "\r\n" once complete.
  [[nodiscard]] const std::string& block() const { return block_; }

 private:
  enum class State { kIdle, kOpen, kComplete };
  State state_ = State::kIdle;
  int status_ = 0;
  std::string location_;
  std::string block_;
};

}  // namespace kelvorat::wininet::curl
