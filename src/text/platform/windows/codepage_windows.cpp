// The code-page conversion functions of kernel32.dll, bound by name at their
// first call. kernel32 is in every Windows process, so the binding cannot
// fail in practice; should it, every conversion fails (returns 0).
//
// One adjustment: writing a double-byte code page, Windows turns each half of
// a surrogate pair into its own default character, so an emoji would come out
// as two question marks. A character the code page lacks is one default
// character, so the pair is handed over as one unit the code page lacks.
#include <windows.h>

#include <string>

#include "text/platform/codepage_platform.h"

namespace kelvorat::platform {
namespace {

using MultiByteToWideCharFunction = int(WINAPI*)(UINT codePage, DWORD flags, LPCCH source,
                                                 int sourceLength, LPWSTR destination,
                                                 int destinationUnits);
using WideCharToMultiByteFunction = int(WINAPI*)(UINT codePage, DWORD flags, LPCWCH source,
                                                 int sourceLength, LPSTR destination,
                                                 int destinationBytes, LPCCH defaultChar,
                                                 LPBOOL usedDefaultChar);

struct Kernel32 {
  MultiByteToWideCharFunction multiByteToWideChar = nullptr;
  WideCharToMultiByteFunction wideCharToMultiByte = nullptr;
};

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  // The documented way to hold a procedure address of a known type.
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Kernel32& Functions() {
  static const Kernel32 functions = [] {
    const HMODULE module = LoadLibraryW(L"kernel32.dll");
    return Kernel32{Bind<MultiByteToWideCharFunction>(module, "MultiByteToWideChar"),
                    Bind<WideCharToMultiByteFunction>(module, "WideCharToMultiByte")};
  }();
  return functions;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Whether codePage is written with lead and trail bytes (936 and its kin).
bool IsDoubleByte(unsigned codePage) {
  CPINFO info{};
  return codePage != CP_UTF8 && codePage != CP_UTF7 && GetCPInfo(codePage, &info) && info.MaxCharSize == 2;
}

// source with every surrogate pair replaced by U+FFFD, which no double-byte
// code page has; the length counts the terminator when the source's did.
std::u16string PairsAsOneUnit(const char16_t* source, int sourceLength) {
  std::u16string units;
  if (sourceLength == -1) {
    units.assign(source);
    units.push_back(u'\0');
  } else {
    units.assign(source, static_cast<std::size_t>(sourceLength));
  }
  std::size_t out = 0;
  for (std::size_t i = 0; i < units.size(); ++i, ++out) {
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      units[out] = u'\uFFFD';
      ++i;
    } else {
      units[out] = units[i];
    }
  }
  units.resize(out);
  return units;
}

bool HasSurrogatePair(const char16_t* source, int sourceLength) {
  for (int i = 0; sourceLength == -1 ? source[i] != 0 : i < sourceLength; ++i) {
    const bool nextInside = sourceLength == -1 || i + 1 < sourceLength;  // a terminator stops it too
    if (IsHighSurrogate(source[i]) && nextInside && IsLowSurrogate(source[i + 1])) return true;
  }
  return false;
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* source,
                        int sourceLength, char16_t* destination, int destinationUnits) {
  const auto convert = Functions().multiByteToWideChar;
  if (convert == nullptr) return 0;
  return convert(codePage, flags, source, sourceLength, reinterpret_cast<LPWSTR>(destination),
                 destinationUnits);
}

int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* source,
                        int sourceLength, char* destination, int destinationBytes,
                        const char* defaultChar, int* usedDefaultChar) {
  const auto convert = Functions().wideCharToMultiByte;
  if (convert == nullptr) return 0;
  BOOL usedDefault = FALSE;
  BOOL* usedDefaultArgument = usedDefaultChar != nullptr ? &usedDefault : nullptr;
  int result = 0;
  if (source != nullptr && sourceLength != 0 && IsDoubleByte(codePage) && HasSurrogatePair(source, sourceLength)) {
    const std::u16string units = PairsAsOneUnit(source, sourceLength);
    result = convert(codePage, flags, reinterpret_cast<LPCWCH>(units.data()), static_cast<int>(units.size()),
                     destination, destinationBytes, defaultChar, usedDefaultArgument);
  } else {
    result = convert(codePage, flags, reinterpret_cast<LPCWCH>(source), sourceLength, destination,
                     destinationBytes, defaultChar, usedDefaultArgument);
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault ? 1 : 0;
  return result;
}

}  // namespace kelvorat::platform
