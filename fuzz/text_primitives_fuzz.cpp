// Fuzzes the by-character text primitives: search both ways against a plain
// reference walk, replace, split, trim, space removal, case and ToInt.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "fuzz_input.h"
#include "text/text.h"

namespace kelvorat::fuzz {
namespace {

std::size_t Width(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size() ? 2 : 1;
}

bool SameAt(std::string_view text, std::size_t i, std::string_view target, bool ignoreCase) {
  for (std::size_t k = 0; k < target.size(); ++k) {
    auto a = static_cast<unsigned char>(text[i + k]), b = static_cast<unsigned char>(target[k]);
    if (ignoreCase) {
      if (a >= 'A' && a <= 'Z') a += 32;
      if (b >= 'A' && b <= 'Z') b += 32;
    }
    if (a != b) return false;
  }
  return true;
}

// The search rules written out as plainly as possible.
int ReferenceFind(std::string_view text, std::string_view target, int start, bool ignoreCase) {
  const auto length = static_cast<long long>(text.size());
  if (start > length) return -1;
  if (target.empty()) return length > 0 ? 1 : -1;
  for (std::size_t i = start <= 1 ? 0 : static_cast<std::size_t>(start - 1);
       i + target.size() <= text.size(); i += Width(text, i)) {
    if (SameAt(text, i, target, ignoreCase)) return static_cast<int>(i + 1);
  }
  return -1;
}

int ReferenceFindReverse(std::string_view text, std::string_view target, int limit, bool ignoreCase) {
  if (limit <= 1) return -1;
  const std::string_view range = text.substr(0, std::min<std::size_t>(text.size(), limit - 1));
  if (target.empty()) return range.empty() ? -1 : 1;
  int last = -1;
  for (std::size_t i = 0; i + target.size() <= range.size(); i += Width(text, i)) {
    if (SameAt(range, i, target, ignoreCase)) last = static_cast<int>(i + 1);
  }
  return last;
}

// Full-width forms mapped, then the C rules for a leading integer, saturated.
std::int32_t ReferenceToInt(std::string_view text) {
  std::string mapped;
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t width = Width(text, i);
    if (width == 2 && lead == 0xA3 && static_cast<unsigned char>(text[i + 1]) >= 0xA1) {
      mapped += static_cast<char>(static_cast<unsigned char>(text[i + 1]) - 0x80);
    } else if (width == 2 && lead == 0xA1 && static_cast<unsigned char>(text[i + 1]) == 0xA1) {
      mapped += ' ';
    } else {
      mapped.append(text.substr(i, width));
    }
    i += width;
  }
  std::size_t i = 0;
  while (i < mapped.size() && std::string_view(" \t\n\v\f\r").find(mapped[i]) != std::string_view::npos) ++i;
  bool negative = false;
  if (i < mapped.size() && (mapped[i] == '+' || mapped[i] == '-')) negative = mapped[i++] == '-';
  long long value = 0;
  for (; i < mapped.size() && mapped[i] >= '0' && mapped[i] <= '9'; ++i) {
    value = std::min<long long>(value * 10 + (mapped[i] - '0'), 1LL << 40);
  }
  if (negative) value = -value;
  return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max()));
}

bool StartsWithSpace(std::string_view text) {
  return !text.empty() && (text[0] == ' ' || text.substr(0, 2) == "\xA1\xA1");
}

}  // namespace
}  // namespace kelvorat::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view text = input.Part(0);
  const std::string_view target = input.Part(1);
  const std::string_view replacement = input.Part(2);
  const int number = input.Number(3);
  const bool ignoreCase = input.Switch(0);

  FUZZ_CHECK(FindText(text, target, number, ignoreCase) == ReferenceFind(text, target, number, ignoreCase));
  FUZZ_CHECK(FindText(text, target, 1, ignoreCase) == ReferenceFind(text, target, 1, ignoreCase));
  FUZZ_CHECK(FindTextReverse(text, target, number, ignoreCase) ==
             ReferenceFindReverse(text, target, number, ignoreCase));
  FUZZ_CHECK(FindTextReverse(text, target, kWholeText, ignoreCase) ==
             ReferenceFindReverse(text, target, kWholeText, ignoreCase));

  const Text replaced = ReplaceText(text, target, replacement, !ignoreCase);
  FUZZ_CHECK(!HasZeroByte(replaced));
  if (ReferenceFind(text, target, 1, ignoreCase) == -1 || target.empty()) FUZZ_CHECK(replaced == text);
  FUZZ_CHECK(ReplaceText(text, target, target, true) == text);

  // Joining the pieces gives the text back, but for a final delimiter.
  const TextList pieces = SplitText(text, target);
  Text joined;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    FUZZ_CHECK(!HasZeroByte(pieces[i]));
    if (i > 0) joined += target;
    joined += pieces[i];
  }
  FUZZ_CHECK(joined == text || (!target.empty() && joined + Text(target) == text));
  FUZZ_CHECK(pieces.size() <= text.size() + 1);

  const Text trimmed = TrimText(text);
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(!StartsWithSpace(trimmed));
  FUZZ_CHECK(TrimText(trimmed) == trimmed);

  const Text spaceless = RemoveSpaces(text);
  FUZZ_CHECK(spaceless.size() <= text.size());
  FUZZ_CHECK(RemoveSpaces(spaceless) == spaceless);
  FUZZ_CHECK(TrimText(spaceless) == spaceless);

  const Text upper = ToUpper(text);
  const Text lower = ToLower(text);
  FUZZ_CHECK(upper.size() == text.size() && lower.size() == text.size());
  FUZZ_CHECK(ToLower(upper) == lower && ToUpper(lower) == upper);
  FUZZ_CHECK(FindText(upper, lower, 1, true) == (text.empty() ? -1 : 1));

  FUZZ_CHECK(ToInt(text) == ReferenceToInt(text));
  FUZZ_CHECK(ToInt(ToText(number)) == number);
  const Text hex = ToHexText(number);
  FUZZ_CHECK(!hex.empty() && hex.size() <= 8);
  return 0;
}
