// Header lines in the platform's "Name: value" form.
#include "http/platform/curl/header_line.h"

namespace kelvorat::wininet::curl {
namespace {

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string HeaderLine(std::string_view line) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) return {};
  const std::string_view name = TrimSpaces(line.substr(0, colon));
  if (name.empty()) return {};
  std::string out(name);
  out += ": ";
  out += TrimSpaces(line.substr(colon + 1));
  return out;
}

}  // namespace kelvorat::wininet::curl
