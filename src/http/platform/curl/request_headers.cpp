// Header block splitting for the libcurl backend.
#include "http/platform/curl/request_headers.h"

#include <utility>

#include "http/platform/curl/header_line.h"

namespace kelvorat::wininet::curl {
namespace {

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (line.size() <= name.size()) continue;
    char separator = line[name.size()];
    if (separator != ':' && separator != ';') continue;
    bool same = true;
    for (std::size_t i = 0; i < name.size() && same; ++i) {
      auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
      same = lower(line[i]) == lower(name[i]);
    }
    if (same) return true;
  }
  return false;
}

// The curl form of one "Name: value" line (see HeaderLine), "" for none.
std::string CurlLine(std::string_view line) {
  std::string out = HeaderLine(OneHeaderLine(line));
  // libcurl drops "Name:" with only blanks after the colon; "Name;" sends it
  // empty.
  const std::size_t colon = out.find(':');
  if (colon != std::string::npos && out.find_first_not_of(" \t", colon + 1) == std::string::npos) {
    out.erase(colon);
    out += ';';
  }
  return out;
}

}  // namespace

std::string OneHeaderLine(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n' || c == '\0') c = ' ';
  }
  return out;
}

bool DescribesBody(std::string_view curlLine) {
  const std::vector<std::string> line{std::string(curlLine)};
  return HasHeader(line, "Content-Type") || HasHeader(line, "Content-Length");
}

std::vector<std::string> CurlHeaderLines(std::string_view block, bool sendsBody) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start <= block.size()) {
    std::size_t end = block.find("\r\n", start);
    if (end == std::string_view::npos) end = block.size();
    if (std::string line = CurlLine(block.substr(start, end - start)); !line.empty()) {
      lines.push_back(std::move(line));
    }
    start = end + 2;
  }
  const bool hasAccept = HasHeader(lines, "Accept");
  const bool hasExpect = HasHeader(lines, "Expect");
  const bool hasContentType = HasHeader(lines, "Content-Type");
  if (!hasAccept) lines.emplace_back("Accept:");
  if (!hasExpect) lines.emplace_back("Expect:");
  if (sendsBody && !hasContentType) lines.emplace_back("Content-Type:");
  return lines;
}

}  // namespace kelvorat::wininet::curl
