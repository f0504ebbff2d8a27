// Character stepping over code page 936 text, shared by the by-character
// operations: a byte of 0x80 or above starts a two-byte character.
#pragma once

#include <cstddef>
#include <string_view>

namespace kelvorat::internal {

[[nodiscard]] inline bool IsLeadByte(unsigned char byte) { return byte >= 0x80; }

// Bytes taken by the character starting at index i; a lead byte at the very
// end counts as a one-byte character so that nothing past the end is read.
[[nodiscard]] inline std::size_t CharWidth(std::string_view text, std::size_t i) {
  return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

[[nodiscard]] inline bool IsAsciiLetter(unsigned char byte) {
  return (byte | 0x20) >= 'a' && (byte | 0x20) <= 'z';
}

[[nodiscard]] inline unsigned char FoldAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte | 0x20) : byte;
}

[[nodiscard]] inline bool IsSpaceAt(std::string_view text, std::size_t i) {
  if (text[i] == ' ') return true;
  return text[i] == '\xA1' && i + 1 < text.size() && text[i + 1] == '\xA1';
}

// Index of the first target that starts on a character boundary at or after
// from (itself taken as a character start) and ends inside text; npos if none.
[[nodiscard]] std::size_t FindForward(std::string_view text, std::size_t from,
                                      std::string_view target, bool ignoreCase);

}  // namespace kelvorat::internal
