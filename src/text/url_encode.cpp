// Percent-encoding of Text for the query of a URL.
#include "text/url_encode.h"

#include "text/codepage.h"

namespace kelvorat {
namespace {

// Hyphen, full stop, digits and ASCII letters: 0x2D..0x39 without the slash.
bool IsKept(unsigned char byte) {
  return (byte >= 0x2D && byte <= 0x39 && byte != 0x2F) || (byte >= 'A' && byte <= 'Z') ||
         (byte >= 'a' && byte <= 'z');
}

Text Encode(std::string_view source, bool keepUnreserved) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  Text out(source.size() * 3, '\0');
  char* at = out.data();
  for (const char c : source) {
    const auto byte = static_cast<unsigned char>(c);
    if (keepUnreserved && IsKept(byte)) {
      *at++ = c;
    } else {
      *at++ = '%';
      *at++ = kHex[byte >> 4];
      *at++ = kHex[byte & 0xF];
    }
  }
  out.resize(static_cast<std::size_t>(at - out.data()));
  return out;
}

}  // namespace

Text UrlEncodeText(std::string_view text, bool keepUnreserved, bool toUtf8First) {
  if (text.empty()) return {};
  if (toUtf8First) return Encode(AnsiToUtf8(text), keepUnreserved);
  return Encode(text, keepUnreserved);
}

}  // namespace kelvorat
