// Fuzzes the code-page conversions both ways with any bytes: malformed UTF-8,
// stray lead bytes, odd-length and unterminated wide text.
#include "fuzz_input.h"
#include "text/codepage.h"

namespace kelvorat::fuzz {
namespace {

// Well-formed UTF-8 (shortest forms, no surrogates, nothing above U+10FFFF).
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto b = static_cast<unsigned char>(text[i]);
    std::size_t n = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3
                                                             : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (n == 0 || i + n > text.size()) return false;
    char32_t code = n == 1 ? b : b & (0x3F >> (n - 1));
    for (std::size_t k = 1; k < n; ++k) {
      const auto c = static_cast<unsigned char>(text[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      code = (code << 6) | (c & 0x3F);
    }
    if ((n == 3 && code < 0x800) || (n == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF)) {
      return false;
    }
    i += n;
  }
  return true;
}

bool EndsInZeroUnit(const Bytes& wide) {
  return wide.size() >= 2 && wide.size() % 2 == 0 && wide[wide.size() - 1] == 0 && wide[wide.size() - 2] == 0;
}

}  // namespace
}  // namespace kelvorat::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view raw = input.Raw();   // zero bytes included
  const std::string_view text = input.Part(0);

  const Text ansi = Utf8ToAnsi(raw);
  const Text utf8 = AnsiToUtf8(raw);
  FUZZ_CHECK(!HasZeroByte(ansi) && !HasZeroByte(utf8));
  FUZZ_CHECK(IsUtf8(utf8));
  // Only the bytes before the first zero byte are read.
  FUZZ_CHECK(Utf8ToAnsi(text) == ansi && AnsiToUtf8(text) == utf8);
  // What one conversion made, the other takes back unchanged.
  // (bar the replacement character, which code page 936 writes as '?').
  if (utf8.find("\xEF\xBF\xBD") == std::string::npos) FUZZ_CHECK(AnsiToUtf8(Utf8ToAnsi(utf8)) == utf8);
  FUZZ_CHECK(Utf8ToAnsi(AnsiToUtf8(ansi)) == ansi);

  static constexpr int kPages[] = {kAnsiCodePage, kGbkCodePage, kUtf8CodePage};
  const int page = kPages[input.Switches() % 3];
  const Bytes wide = MultiByteToWideText(raw, page);
  FUZZ_CHECK(raw.empty() ? wide.empty() : EndsInZeroUnit(wide));
  const Text back = WideTextToMultiByte(wide, page);
  FUZZ_CHECK(!HasZeroByte(back));
  if (page == kUtf8CodePage) FUZZ_CHECK(IsUtf8(back));

  // Wide text straight from the input: odd lengths, no terminator, lone surrogates.
  const Bytes anyWide(raw.begin(), raw.end());
  const Text written = WideTextToMultiByte(anyWide, page);
  FUZZ_CHECK(!HasZeroByte(written));
  if (page == kUtf8CodePage) FUZZ_CHECK(IsUtf8(written));
  return 0;
}
