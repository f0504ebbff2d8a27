// Fuzzes the one-step conversions between UTF-8 and code page 936 against
// the two steps through wide text that they stand for, byte for byte.
#include "fuzz_input.h"
#include "text/internal/wide_steps.h"
#include "text/platform/utf8_cp936.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  const fuzz::FuzzInput input(data, size);
  const std::string_view text = input.Part(0);  // no zero byte, as the callers give it
  FUZZ_CHECK(platform::Utf8ToCp936(text) == internal::WriteWide(internal::ReadWide(text, 65001), 936));
  FUZZ_CHECK(platform::Cp936ToUtf8(text) == internal::WriteWide(internal::ReadWide(text, 936), 65001));
  return 0;
}
