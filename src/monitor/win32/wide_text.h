// Texts between the program (code page 936) and the wide Win32 functions
// (UTF-16), so captions and messages show right whatever the system's ANSI
// code page is.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace kelvorat::win32 {

// Code page 936 text as UTF-16.
[[nodiscard]] std::wstring WideFromAnsi(std::string_view ansi);
// UTF-8 text (the control table's) as UTF-16.
[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);
// UTF-16 as code page 936; characters 936 lacks become '?'.
[[nodiscard]] Text AnsiFromWide(std::wstring_view wide);

}  // namespace kelvorat::win32
