// Conversions for the Win32 window, through the program's own code-page layer.
#include "monitor/win32/wide_text.h"

#include <cstring>

#include "text/codepage.h"

namespace kelvorat::win32 {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");

// Wide text (UTF-16LE units up to the first zero unit) as a wstring.
std::wstring FromWideBytes(const Bytes& bytes) {
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  if (!wide.empty()) std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  wide.resize(wide.find(L'\0') == std::wstring::npos ? wide.size() : wide.find(L'\0'));
  return wide;
}

}  // namespace

std::wstring WideFromAnsi(std::string_view ansi) { return FromWideBytes(MultiByteToWideText(ansi, kGbkCodePage)); }

std::wstring WideFromUtf8(std::string_view utf8) { return FromWideBytes(MultiByteToWideText(utf8, kUtf8CodePage)); }

Text AnsiFromWide(std::wstring_view wide) {
  Bytes bytes((wide.size() + 1) * sizeof(wchar_t), 0);  // ends in a zero unit
  if (!wide.empty()) std::memcpy(bytes.data(), wide.data(), wide.size() * sizeof(wchar_t));
  return WideTextToMultiByte(bytes, kGbkCodePage);
}

}  // namespace kelvorat::win32
