// Reading one multi-byte UTF-8 sequence, shared by the platform layer's
// conversions. Inline: it sits in their inner loops.
#pragma once

#include <cstddef>

namespace kelvorat::platform {

struct Utf8Sequence {
  std::size_t next;  // the index after what was read
  char32_t code;     // the character, when valid
  bool valid;
};

// Reads the sequence that starts with the high byte s[i] (0x80 or above).
// Overlong forms, surrogates and values above U+10FFFF are invalid; a broken
// sequence ends at the byte that broke it, which is read again on its own.
inline Utf8Sequence ReadUtf8Sequence(const unsigned char* s, std::size_t n, std::size_t i) {
  const unsigned char byte = s[i];
  int need;
  char32_t code;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the next byte
  if (byte >= 0xC2 && byte <= 0xDF) {
    need = 1, code = byte & 0x1F;
  } else if (byte >= 0xE0 && byte <= 0xEF) {
    need = 2, code = byte & 0x0F;
    if (byte == 0xE0) low = 0xA0;   // no overlong forms
    if (byte == 0xED) high = 0x9F;  // no surrogates
  } else if (byte >= 0xF0 && byte <= 0xF4) {
    need = 3, code = byte & 0x07;
    if (byte == 0xF0) low = 0x90;   // no overlong forms
    if (byte == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return {i + 1, 0, false};
  }
  std::size_t j = i + 1;
  int got = 0;
  for (; got < need && j < n && s[j] >= low && s[j] <= high; ++got, ++j) {
    code = code << 6 | (s[j] & 0x3F);
    low = 0x80, high = 0xBF;
  }
  return {j, code, got == need};
}

}  // namespace kelvorat::platform
