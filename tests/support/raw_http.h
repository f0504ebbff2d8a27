// Pieces of a raw HTTP message as the loopback servers log or echo it: a first
// line, header lines, the blank line that ends them, the body. A message cut
// before its blank line has headers only: no body.
//   "GET / HTTP/1.1\r\nA: 1\r\n\r\nxy" -> RequestLine "GET / HTTP/1.1",
//   HeaderLines {"A: 1"}, HeadOf "GET / HTTP/1.1\r\nA: 1\r\n\r\n", BodyOf "xy"
#pragma once

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorat::testing {

// The first line without its "\r\n"; the whole text when it has no line break.
inline std::string RequestLine(std::string_view raw) { return std::string(raw.substr(0, raw.find("\r\n"))); }

// The first line and the header lines with the blank line after them; the
// whole text when there is no blank line.
inline std::string HeadOf(std::string_view raw) {
  const std::size_t end = raw.find("\r\n\r\n");
  return std::string(end == std::string_view::npos ? raw : raw.substr(0, end + 4));
}

// What follows the blank line; "" when there is no blank line.
inline std::string BodyOf(std::string_view raw) {
  const std::size_t end = raw.find("\r\n\r\n");
  return end == std::string_view::npos ? std::string() : std::string(raw.substr(end + 4));
}

// The header lines, without the first line and the blank line.
inline std::vector<std::string> HeaderLines(std::string_view raw) {
  std::vector<std::string> lines;
  const std::size_t end = raw.find("\r\n\r\n");
  for (std::size_t at = raw.find("\r\n"); at != std::string_view::npos && at < end;) {
    const std::size_t next = raw.find("\r\n", at + 2);
    lines.emplace_back(raw.substr(at + 2, next == std::string_view::npos ? std::string_view::npos : next - at - 2));
    at = next;
  }
  return lines;
}

// The lines whose name (before the first ':') is name, ASCII case ignored.
inline std::vector<std::string> LinesNamed(const std::vector<std::string>& lines, std::string_view name) {
  const auto lower = [](std::string_view text) {
    std::string low(text);
    std::transform(low.begin(), low.end(), low.begin(), [](unsigned char c) { return std::tolower(c); });
    return low;
  };
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (lower(std::string_view(line).substr(0, line.find(':'))) == lower(name)) found.push_back(line);
  }
  return found;
}

}  // namespace kelvorat::testing
