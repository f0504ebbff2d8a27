// Builds the code page 936 tables from glibc iconv, whose "CP936" is the
// Windows table (0x80 is the euro sign) without the user-defined areas.
// Each converter is opened once, while the tables are built.
#include "text/platform/cp936_tables.h"

#include <iconv.h>

#include <cstring>
#include <memory>

namespace kelvorat::platform {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  [[nodiscard]] bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts exactly the given bytes into out; the number of bytes written,
  // or -1 when iconv rejects them or leaves some unread.
  int Convert(const char* in, std::size_t inBytes, char* out, std::size_t outBytes) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    char* source = const_cast<char*>(in);
    char* target = out;
    std::size_t outLeft = outBytes;
    if (iconv(cd_, &source, &inBytes, &target, &outLeft) == static_cast<std::size_t>(-1) ||
        inBytes != 0) {
      return -1;
    }
    return static_cast<int>(outBytes - outLeft);
  }

 private:
  iconv_t cd_;
};

// One UTF-16LE unit from two bytes of iconv output, or 0 unless exactly one.
char16_t OneUnit(const char* out, int written) {
  if (written != 2) return 0;
  return static_cast<char16_t>(static_cast<unsigned char>(out[0]) |
                               static_cast<unsigned char>(out[1]) << 8);
}

void FillDecoding(Cp936Tables& tables) {
  Converter decode("UTF-16LE", "CP936");
  if (!decode.ok()) return;
  char out[8];
  for (int byte = 0; byte < 0x100; ++byte) {
    const char in = static_cast<char>(byte);
    tables.single[byte] = OneUnit(out, decode.Convert(&in, 1, out, sizeof out));
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int second = 0x40; second <= 0xFE; ++second) {
      const char in[2] = {static_cast<char>(lead), static_cast<char>(second)};
      tables.pair[lead - 0x81][second] = OneUnit(out, decode.Convert(in, 2, out, sizeof out));
    }
  }
}

void FillEncoding(Cp936Tables& tables) {
  Converter encode("CP936", "UTF-16LE");
  if (!encode.ok()) return;
  char out[8];
  for (unsigned unit = 1; unit < 0x10000; ++unit) {
    if (unit >= 0xD800 && unit <= 0xDFFF) continue;  // surrogates: never a character alone
    const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    const int written = encode.Convert(in, 2, out, sizeof out);
    const auto first = static_cast<unsigned char>(out[0]);
    const auto second = static_cast<unsigned char>(out[1]);
    if (written == 1 && first != 0) {
      tables.encode[unit] = first;
    } else if (written == 2 && first >= 0x81) {
      tables.encode[unit] = static_cast<std::uint16_t>(first << 8 | second);
    }
  }
}

}  // namespace

const Cp936Tables& Cp936() {
  static const std::unique_ptr<Cp936Tables> tables = [] {
    auto built = std::make_unique<Cp936Tables>();
    std::memset(built.get(), 0, sizeof *built);
    FillDecoding(*built);
    FillEncoding(*built);
    return built;
  }();
  return *tables;
}

}  // namespace kelvorat::platform
