// Measuring, cutting and building Text, counting bytes.
#include <cstdint>

#include "text/text.h"

namespace kelvorat {

int TextLength(std::string_view text) { return static_cast<int>(text.size()); }

Text TextLeft(std::string_view text, int n) {
  if (n <= 0) return {};
  return Text(text.substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(std::string_view text, int n) {
  if (n <= 0) return {};
  const auto count = static_cast<std::size_t>(n);
  return count >= text.size() ? Text(text) : Text(text.substr(text.size() - count));
}

Text TextMid(std::string_view text, int start, int n) {
  if (start < 1 || n <= 0 || static_cast<std::size_t>(start) > text.size()) return {};
  return Text(text.substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n)));
}

Text CharFromCode(int code) {
  if (code < 1 || code > 255) return {};
  return Text(1, static_cast<char>(code));
}

int CharCode(std::string_view text) {
  return text.empty() ? 0 : static_cast<std::int8_t>(text[0]);
}

Text BlankText(int n) { return n <= 0 ? Text() : Text(static_cast<std::size_t>(n), ' '); }

Text ConcatTextList(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (std::string_view part : parts) size += part.size();
  Text result;
  result.reserve(size);
  for (std::string_view part : parts) result.append(part);
  return result;
}

int CompareText(std::string_view a, std::string_view b) {
  // char_traits<char> compares as unsigned char.
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace kelvorat
