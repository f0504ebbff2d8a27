// Conversion between code page 936, UTF-8 and UTF-16 ("wide text").
// Malformed input is never rejected: it turns into U+FFFD on reading and into
// the target's default character '?' on writing.
#pragma once

#include "text/text.h"

namespace kelvorat {

inline constexpr int kAnsiCodePage = 0;  // CP_ACP; code page 936 on this system
inline constexpr int kGbkCodePage = 936;
inline constexpr int kUtf8CodePage = 65001;  // CP_UTF8

// UTF-8 bytes to code page 936.
[[nodiscard]] Text Utf8ToAnsi(std::string_view utf8);
// Code page 936 to UTF-8 bytes.
[[nodiscard]] Text AnsiToUtf8(std::string_view ansi);
// text read in codePage, as UTF-16LE units with a zero terminator (possibly
// followed by more zero units); "" gives the empty Bytes.
[[nodiscard]] Bytes MultiByteToWideText(std::string_view text, int codePage = kUtf8CodePage);
// Wide text (read up to its first zero unit) written in codePage.
[[nodiscard]] Text WideTextToMultiByte(const Bytes& wide, int codePage = kAnsiCodePage);

}  // namespace kelvorat
