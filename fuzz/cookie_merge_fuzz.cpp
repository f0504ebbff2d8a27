// Fuzzes the cookie merge and its list tools: no deleted or repeated item
// survives, no space either, the server's items come first, and both
// arguments are written back as promised.
#include <set>

#include "fuzz_input.h"
#include "http/cookie_merge.h"
#include "text/text.h"

namespace {

bool IsDeleted(const std::string& item) {
  return item.size() >= 8 && item.compare(item.size() - 8, 8, "=deleted") == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  Text oldCookies(input.Part(0));
  Text newCookies(input.Part(1));
  const Text oldInput = oldCookies, newInput = newCookies;

  const Text merged = MergeCookies(oldCookies, newCookies);
  FUZZ_CHECK(!HasZeroByte(merged));
  FUZZ_CHECK(oldCookies == merged);
  FUZZ_CHECK(newCookies == RemoveSpaces(newInput));

  const std::vector<std::string> items = SplitAtBytes(merged, "; ");
  std::set<Text> seen;
  for (const Text& item : items) {
    FUZZ_CHECK(!IsDeleted(item));
    FUZZ_CHECK(seen.insert(item).second);  // no item twice
    FUZZ_CHECK(RemoveSpaces(item) == item);
  }
  // Every kept server item is there, in the server's order, ahead of the old ones.
  std::size_t next = 0;
  for (const Text& item : SplitText(newCookies, ";")) {
    if (IsDeleted(item) || item.empty()) continue;
    std::size_t at = next;
    while (at < items.size() && items[at] != item) ++at;
    if (at == items.size()) {
      FUZZ_CHECK(seen.count(item) == 1);  // a repeat of an item placed earlier
      continue;
    }
    next = at + 1;
  }
  // Merging into nothing keeps what the server set, without repeats.
  Text empty, again = newInput;
  const Text onlyNew = MergeCookies(empty, again);
  for (const Text& item : SplitAtBytes(onlyNew, "; ")) FUZZ_CHECK(seen.count(item) == 1 || item.empty());

  // The list tools on their own.
  TextList characters;
  const int count = SplitCharacters(input.Part(2), characters);
  FUZZ_CHECK(count == static_cast<int>(characters.size()));
  Text rejoined;
  for (const Text& c : characters) {
    FUZZ_CHECK(!c.empty() && c.size() <= 2);
    rejoined += c;
  }
  FUZZ_CHECK(rejoined == input.Part(2));
  // Character mode keeps the first of each character, in order.
  Text firsts;
  std::set<Text> met;
  for (const Text& c : characters) {
    if (met.insert(c).second) firsts += c;
    FUZZ_CHECK(TextListIndexOf(characters, c) >= 1);
  }
  FUZZ_CHECK(RemoveDuplicateItems(input.Part(2), "", false) == firsts);
  return 0;
}
