// Fuzzes the marker extraction: every result is a piece of the text, found
// where the markers say, and the quote placeholder stands for '"'.
#include "fuzz_input.h"
#include "text/markers.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view text = input.Part(0);
  const std::string_view left = input.Part(1);
  const std::string_view right = input.Part(2);
  const int startPos = input.Number(3);
  const bool ignoreCase = input.Switch(0);

  const Text between = TextBetween(text, left, right, startPos, ignoreCase);
  FUZZ_CHECK(!HasZeroByte(between));
  FUZZ_CHECK(text.find(between) != std::string_view::npos);
  if (right.empty()) FUZZ_CHECK(between.empty());
  // The placeholder "#引号" is only a spelling: markers with '"' written out agree.
  const Text quotedLeft = ReplaceText(left, "#\xD2\xFD\xBA\xC5", "\"", true);
  const Text quotedRight = ReplaceText(right, "#\xD2\xFD\xBA\xC5", "\"", true);
  FUZZ_CHECK(TextBetween(text, quotedLeft, quotedRight, startPos, ignoreCase) == between);
  // A found piece sits right after the left marker and is followed by the right one.
  if (!between.empty()) {
    const int p = FindText(text, quotedLeft, startPos, ignoreCase);
    FUZZ_CHECK(p != -1);
    const std::size_t after = static_cast<std::size_t>(p - 1) + quotedLeft.size();
    FUZZ_CHECK(text.substr(after, between.size()) == between);
    FUZZ_CHECK(FindText(text, quotedRight, static_cast<int>(after + 1), ignoreCase) ==
               static_cast<int>(after + between.size() + 1));
  }

  const Text before = TextBefore(text, left, startPos, ignoreCase);
  FUZZ_CHECK(text.substr(0, before.size()) == before);
  if (left.empty()) FUZZ_CHECK(before.empty());
  if (!before.empty()) {
    FUZZ_CHECK(FindText(text, left, startPos, ignoreCase) == static_cast<int>(before.size()) + 1);
  }

  const Text value = HeaderLineValue(text);
  FUZZ_CHECK(text.find(value) != std::string_view::npos);
  FUZZ_CHECK(TrimText(value) == value);
  if (text.find(':') == std::string_view::npos) FUZZ_CHECK(value.empty());
  return 0;
}
