// Fuzzes UrlEncodeText with both options: the result decodes to exactly the
// source bytes and holds only what may stand in a query.
#include "fuzz_input.h"
#include "text/codepage.h"
#include "text/url_encode.h"

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;  // lower-case digits never appear
}

bool Unreserved(unsigned char c) {
  return c == '-' || c == '.' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view text = input.Part(0);
  const bool keepUnreserved = input.Switch(0);
  const bool toUtf8First = input.Switch(1);

  const Text encoded = UrlEncodeText(text, keepUnreserved, toUtf8First);
  const Text source = toUtf8First ? AnsiToUtf8(text) : Text(text);
  FUZZ_CHECK(!HasZeroByte(encoded));
  if (text.empty()) FUZZ_CHECK(encoded.empty());

  std::string decoded;
  for (std::size_t i = 0; i < encoded.size();) {
    const auto c = static_cast<unsigned char>(encoded[i]);
    if (c == '%') {
      FUZZ_CHECK(i + 2 < encoded.size());
      const int high = HexValue(encoded[i + 1]), low = HexValue(encoded[i + 2]);
      FUZZ_CHECK(high >= 0 && low >= 0);
      const auto byte = static_cast<unsigned char>(high * 16 + low);
      FUZZ_CHECK(!keepUnreserved || !Unreserved(byte));  // kept bytes are never encoded
      decoded += static_cast<char>(byte);
      i += 3;
    } else {
      FUZZ_CHECK(keepUnreserved && Unreserved(c));
      decoded += static_cast<char>(c);
      ++i;
    }
  }
  FUZZ_CHECK(decoded == source);
  if (!keepUnreserved) FUZZ_CHECK(encoded.size() == 3 * source.size());
  return 0;
}
