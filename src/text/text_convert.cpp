// Numbers to and from Text.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <limits>

#include "text/internal/char_walk.h"
#include "text/text.h"

namespace kelvorat {
namespace {

// Reads Text one character at a time, taking the full-width forms A3 A1..A3 FE
// as the ASCII byte of their second byte less 0x80 and A1 A1 as a space. Any
// other two-byte character reads as 0x80, which is neither digit, sign nor space.
class HalfWidthReader {
 public:
  explicit HalfWidthReader(std::string_view text) : text_(text) {}
  [[nodiscard]] bool AtEnd() const { return at_ >= text_.size(); }
  [[nodiscard]] unsigned char Peek() const {
    const auto byte = static_cast<unsigned char>(text_[at_]);
    if (internal::CharWidth(text_, at_) == 1) return byte;
    const auto second = static_cast<unsigned char>(text_[at_ + 1]);
    if (byte == 0xA3 && second >= 0xA1 && second <= 0xFE) return second - 0x80;
    if (byte == 0xA1 && second == 0xA1) return ' ';
    return 0x80;
  }
  void Next() { at_ += internal::CharWidth(text_, at_); }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

bool IsWhiteSpace(unsigned char byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

}  // namespace

std::int32_t ToInt(std::string_view text) {
  HalfWidthReader reader(text);
  while (!reader.AtEnd() && IsWhiteSpace(reader.Peek())) reader.Next();
  bool negative = false;
  if (!reader.AtEnd() && (reader.Peek() == '+' || reader.Peek() == '-')) {
    negative = reader.Peek() == '-';
    reader.Next();
  }
  // Accumulate the magnitude in 64 bits and stop growing it once it is past
  // the 32-bit range, so that long digit runs saturate.
  constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
  std::int64_t magnitude = 0;
  for (; !reader.AtEnd() && reader.Peek() >= '0' && reader.Peek() <= '9'; reader.Next()) {
    magnitude = std::min(kCap, magnitude * 10 + (reader.Peek() - '0'));
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(std::min(magnitude, kCap - 1));
}

Text ToText(std::int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return Text(buffer, result.ptr);
}

Text ToHexText(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  auto bits = static_cast<std::uint32_t>(value);
  char buffer[8];
  char* begin = buffer + sizeof buffer;
  do {
    *--begin = kDigits[bits & 0xF];
    bits >>= 4;
  } while (bits != 0);
  return Text(begin, buffer + sizeof buffer);
}

}  // namespace kelvorat
