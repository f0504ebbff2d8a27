// Code page 936 as lookup tables, taken once from glibc iconv's "CP936".
#pragma once

#include <cstdint>

namespace kelvorat::platform {

struct Cp936Tables {
  // Characters of single bytes 0x00..0xFF; 0 where the byte is no character
  // on its own (0x81..0xFE lead a pair), except the byte 0 itself.
  char16_t single[256];
  // Characters of the pairs lead 0x81..0xFE and any second byte (indexed by
  // the byte itself, for a lookup without range checks); 0 where the pair has
  // none, which includes every second byte outside 0x40..0xFE.
  char16_t pair[0xFE - 0x81 + 1][0x100];
  // Code page 936 form of each UTF-16 unit: a value below 0x100 is one byte,
  // above it the lead byte in the high half; 0 where 936 has no character
  // (and for the unit 0, which is the byte 0).
  std::uint16_t encode[0x10000];
};

// Built at the first call, thread-safely; never changes afterwards.
[[nodiscard]] const Cp936Tables& Cp936();

}  // namespace kelvorat::platform
