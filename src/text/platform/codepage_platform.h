// Our own stand-in for the two Win32 code-page conversion functions, for code
// pages 0 (the ANSI code page, 936 here), 936 and 65001. Same contract: a
// source length of -1 reads up to and including the zero terminator, and a
// destination size of 0 asks for the count needed. Returns 0 on failure
// (unknown code page, or a destination too small).
#pragma once

#include <cstdint>

namespace kelvorat::platform {

int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* source,
                        int sourceLength, char16_t* destination, int destinationUnits);

int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* source,
                        int sourceLength, char* destination, int destinationBytes,
                        const char* defaultChar, int* usedDefaultChar);

}  // namespace kelvorat::platform
