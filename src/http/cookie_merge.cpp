// Cookie merge: the server's cookies first, then the caller's cookies the
// server did not mention, without deleted items and repeats.
#include "http/cookie_merge.h"

namespace kelvorat {
namespace {

constexpr std::string_view kCookieSeparator = "; ";

// A server deletes a cookie by setting its value to "deleted".
bool IsDeletedCookie(std::string_view item) {
  return CompareText(TextRight(item, 8), "=deleted") == 0;
}

}  // namespace

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  oldCookies = RemoveSpaces(oldCookies);
  newCookies = RemoveSpaces(newCookies);

  const TextList oldItems = SplitText(oldCookies, ";");
  TextList items = SplitText(newCookies, ";");
  // Carried-over items take part in later look-ups, so of several old items
  // with one name only the first survives.
  for (const Text& item : oldItems) {
    if (!CookieNameInList(items, CookieName(item))) items.push_back(item);
  }

  Text merged;
  for (const Text& item : items) {
    if (!IsDeletedCookie(item)) merged += ConcatText(item, kCookieSeparator);
  }
  merged = TextLeft(merged, TextLength(merged) - TextLength(kCookieSeparator));

  oldCookies = RemoveDuplicateItems(merged, kCookieSeparator, true);
  return oldCookies;
}

Text CookieName(std::string_view item) {
  const int p = FindText(item, "=");
  return TrimText(p == -1 ? Text(item) : TextLeft(item, p - 1));
}

bool CookieNameInList(const TextList& items, std::string_view name) {
  for (const Text& item : items) {
    if (CompareText(CookieName(item), name) == 0) return true;
  }
  return false;
}

Text RemoveDuplicateItems(std::string_view text, std::string_view separator, bool bySeparator) {
  TextList items;
  if (bySeparator) {
    items = SplitText(text, separator);
  } else {
    SplitCharacters(text, items);
  }

  TextList seen;
  Text result;
  for (const Text& item : items) {
    if (TextListIndexOf(seen, item) != -1) continue;
    seen.push_back(item);
    result += ConcatText(item, separator);
  }
  return TextLeft(result, TextLength(result) - TextLength(separator));
}

int SplitCharacters(std::string_view text, TextList& items) {
  items.clear();
  const int n = TextLength(text);
  for (int i = 1; i <= n;) {
    const auto byte = static_cast<unsigned char>(text[i - 1]);
    int width = 1;
    if (i < n) {
      const bool crlf = byte == '\r' && text[i] == '\n';
      if (byte > 0x80 || crlf) width = 2;
    }
    items.push_back(TextMid(text, i, width));
    i += width;
  }
  return static_cast<int>(items.size());
}

int TextListIndexOf(const TextList& items, std::string_view item) {
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (CompareText(items[i], item) == 0) return static_cast<int>(i) + 1;
  }
  return -1;
}

}  // namespace kelvorat
