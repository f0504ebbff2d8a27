// Raw response header capture for the libcurl backend.
#include "http/platform/curl/raw_headers.h"

#include <string>

#include "http/platform/curl/header_line.h"

namespace kelvorat::wininet::curl {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(text[i]) != lower(prefix[i])) return false;
  }
  return true;
}

// "HTTP/1.1 302 Found" -> 302; 0 when the digits are missing.
int StatusCode(std::string_view statusLine) {
  std::size_t space = statusLine.find(' ');
  if (space == std::string_view::npos || statusLine.size() < space + 4) return 0;
  int code = 0;
  for (std::size_t i = space + 1; i < space + 4; ++i) {
    char c = statusLine[i];
    if (c < '0' || c > '9') return 0;
    code = code * 10 + (c - '0');
  }
  return code;
}

}  // namespace

void RawHeaderCapture::AddLine(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const bool statusLine = StartsWithIgnoringCase(line, "HTTP/");
  if (statusLine && state_ != State::kOpen) {
    state_ = State::kOpen;
    status_ = StatusCode(line);
    location_.clear();
    block_.clear();
  } else if (state_ != State::kOpen) {
    return;  // a trailer after the body, or a line before any status line
  } else if (line.empty()) {
    block_ += "\r\n";
    state_ = State::kComplete;
    return;
  }
  // Header lines are reported as the platform reports them, "Name: value";
  // one without a colon or a name is left out, as the platform leaves it.
  std::string formed;
  if (!statusLine) {
    // As libcurl reads it, which decides whether the redirect is followed.
    if (StartsWithIgnoringCase(line, "Location:")) {
      const std::size_t first = line.find_first_not_of(" \t", 9);
      if (first != std::string_view::npos) {
        location_ = line.substr(first, line.find_last_not_of(" \t") + 1 - first);
      }
    }
    formed = HeaderLine(line);
    if (formed.empty()) return;
    line = formed;
  }
  std::size_t start = block_.size();
  block_.append(line);
  // The block is handed out as NUL-terminated text.
  for (std::size_t i = start; i < block_.size(); ++i) {
    if (block_[i] == '\0') block_[i] = ' ';
  }
  block_ += "\r\n";
}

}  // namespace kelvorat::wininet::curl
