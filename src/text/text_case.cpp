// ASCII case changes that leave the second byte of a two-byte character alone.
#include "text/internal/char_walk.h"
#include "text/text.h"

namespace kelvorat {
namespace {

template <char From, char To>
Text ShiftCase(std::string_view text) {
  Text result(text);
  for (std::size_t i = 0; i < result.size(); i += internal::CharWidth(text, i)) {
    if (result[i] >= From && result[i] <= To) result[i] = static_cast<char>(result[i] ^ 0x20);
  }
  return result;
}

}  // namespace

Text ToUpper(std::string_view text) { return ShiftCase<'a', 'z'>(text); }
Text ToLower(std::string_view text) { return ShiftCase<'A', 'Z'>(text); }

}  // namespace kelvorat
