// Fuzzes header-name normalization: idempotent, only header lines kept, and
// every line changed in its name's first letters only.
#include <algorithm>

#include "fuzz_input.h"
#include "http/header_names.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view block = input.Part(0);

  const Text normalized = NormalizeHeaderNames(block);
  FUZZ_CHECK(!HasZeroByte(normalized));
  FUZZ_CHECK(NormalizeHeaderNames(normalized) == normalized);
  FUZZ_CHECK(normalized.size() <= block.size());
  // (A lead byte before a final "\r\n" takes its '\r' as second byte: no line break there.)
  const bool ascii = std::all_of(block.begin(), block.end(), [](char c) { return c > 0; });
  if (ascii) FUZZ_CHECK(normalized.size() < 2 || normalized.substr(normalized.size() - 2) != "\r\n");

  // Line by line: the kept input lines in order, equal but for case.
  TextList kept;
  for (const Text& line : SplitText(block, "\r\n")) {
    if (FindText(line, ":") != -1) kept.push_back(line);
  }
  const TextList lines = SplitText(normalized, "\r\n");
  FUZZ_CHECK(lines.size() == kept.size());
  for (std::size_t i = 0; i < lines.size() && i < kept.size(); ++i) {
    FUZZ_CHECK(lines[i].size() == kept[i].size());
    FUZZ_CHECK(ToLower(lines[i]) == ToLower(kept[i]));
    const int colon = FindText(kept[i], ":");
    FUZZ_CHECK(TextMid(lines[i], colon, kWholeText) == TextMid(kept[i], colon, kWholeText));
  }

  const std::string_view word = input.Part(1);
  const Text capitalized = CapitalizeFirst(word);
  FUZZ_CHECK(capitalized.size() == word.size());
  FUZZ_CHECK(word.empty() || capitalized.substr(1) == word.substr(1));
  FUZZ_CHECK(CapitalizeFirst(capitalized) == capitalized);
  return 0;
}
