// Text primitives: the byte-string operations every other part of Kelvorat is
// built from. A Text is code page 936 with no zero byte inside; positions are
// 1-based byte positions and a search that finds nothing returns -1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kelvorat {

using Text = std::string;                // code page 936, never holds a zero byte
using Bytes = std::vector<std::uint8_t>; // any bytes, zero bytes allowed
using TextList = std::vector<Text>;      // items numbered from 1 by the callers

struct DateTime {
  int year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// FindTextReverse searches the whole text when no limit is given.
inline constexpr int kWholeText = INT32_MAX;

// ---- Length, cutting and building (by byte) --------------------------------

[[nodiscard]] int TextLength(std::string_view text);
// First n bytes; n <= 0 gives "", n >= length the whole text.
[[nodiscard]] Text TextLeft(std::string_view text, int n);
// Last n bytes; n <= 0 gives "", n >= length the whole text.
[[nodiscard]] Text TextRight(std::string_view text, int n);
// n bytes from 1-based start; "" when start < 1, start > length or n <= 0.
[[nodiscard]] Text TextMid(std::string_view text, int start, int n);
// One-byte Text of the byte code; code 0 (and any code outside 1..255) gives "".
[[nodiscard]] Text CharFromCode(int code);
// First byte as a signed 8-bit value; 0 for "".
[[nodiscard]] int CharCode(std::string_view text);
// n spaces (0x20); n <= 0 gives "".
[[nodiscard]] Text BlankText(int n);
[[nodiscard]] Text ConcatTextList(std::initializer_list<std::string_view> parts);
template <typename... Parts>
[[nodiscard]] Text ConcatText(const Parts&... parts) {
  return ConcatTextList({std::string_view(parts)...});
}
// Unsigned byte-wise comparison: negative, zero or positive.
[[nodiscard]] int CompareText(std::string_view a, std::string_view b);

[[nodiscard]] int BytesLength(const Bytes& bytes);
// First n bytes, n limited to 0..length.
[[nodiscard]] Bytes BytesLeft(const Bytes& bytes, int n);
// Bytes from start (limited to 1..length+1), at most n (n < 0 counts as 0).
[[nodiscard]] Bytes BytesMid(const Bytes& bytes, int start, int n);
// n zero bytes; n <= 0 gives the empty Bytes.
[[nodiscard]] Bytes BlankBytes(int n);
[[nodiscard]] Bytes ConcatBytesList(std::initializer_list<const Bytes*> parts);
template <typename... Parts>
[[nodiscard]] Bytes ConcatBytes(const Parts&... parts) {
  return ConcatBytesList({&parts...});
}
// True when both have the same length and bytes.
[[nodiscard]] bool CompareBytes(const Bytes& a, const Bytes& b);

// ---- Searching and rewriting (by character) --------------------------------

// Position of the first target that begins at or after start and lies wholly
// inside text; -1 when none. start <= 1 searches from 1; start > length gives -1.
// An empty target is found at 1 whenever the searched range is not empty.
[[nodiscard]] int FindText(std::string_view text, std::string_view target, int start = 1,
                           bool ignoreCase = false);
// Position of the last target lying wholly within bytes 1 .. limit-1; -1 when
// none. limit <= 1 gives -1; a limit beyond the end means the whole text.
[[nodiscard]] int FindTextReverse(std::string_view text, std::string_view target,
                                  int limit = kWholeText, bool ignoreCase = false);
// Every occurrence of target, scanned from the start, replaced by replacement.
// An empty text or target gives the text unchanged.
[[nodiscard]] Text ReplaceText(std::string_view text, std::string_view target,
                               std::string_view replacement, bool caseSensitive);
// Pieces between delimiters; no item after a final delimiter; "" gives no item;
// an empty delimiter gives the whole text as the single item.
[[nodiscard]] TextList SplitText(std::string_view text, std::string_view delimiter);
// Without leading and trailing spaces (0x20 and A1 A1 only).
[[nodiscard]] Text TrimText(std::string_view text);
// Without any space (0x20 and A1 A1), wherever it stands.
[[nodiscard]] Text RemoveSpaces(std::string_view text);
// ASCII letters only; second bytes of double-byte characters never change.
[[nodiscard]] Text ToUpper(std::string_view text);
[[nodiscard]] Text ToLower(std::string_view text);

// ---- Conversions -----------------------------------------------------------

// Leading decimal integer (full-width digits, signs and spaces accepted);
// 0 when there are no digits; saturates at the 32-bit limits.
[[nodiscard]] std::int32_t ToInt(std::string_view text);
[[nodiscard]] Text ToText(std::int64_t value);
// Upper-case hex without leading zeros; negatives as 32-bit two's complement.
[[nodiscard]] Text ToHexText(std::int32_t value);
// The bytes before the first zero byte.
[[nodiscard]] Text BytesToText(const Bytes& bytes);
[[nodiscard]] Bytes TextToBytes(std::string_view text);
// "2024年3月5日14时7分9秒", shortened as the trailing fields are zero (code page 936).
[[nodiscard]] Text DateTimeToText(const DateTime& dateTime);
// The current local date and time, through the replaceable clock (clock.h).
[[nodiscard]] DateTime CurrentDateTime();

template <typename... Ints>
[[nodiscard]] constexpr std::int64_t BitOr(Ints... values) {
  return (static_cast<std::int64_t>(values) | ...);
}

}  // namespace kelvorat
