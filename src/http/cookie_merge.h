// Merging the cookies a server set into the cookies that were sent, and the
// small list tools the merge is built from.
#pragma once

#include "text/text.h"

namespace kelvorat {

// Server's cookies first, then the old ones it did not mention, without
// "=deleted" items and repeats. Writes the result into oldCookies and the
// space-stripped newCookies back into newCookies; returns the result.
Text MergeCookies(Text& oldCookies, Text& newCookies);
// The text before the first '=', trimmed; the whole item trimmed without '='.
[[nodiscard]] Text CookieName(std::string_view item);
[[nodiscard]] bool CookieNameInList(const TextList& items, std::string_view name);
// Items of text without repeats (first kept), joined with separator. Items are
// split at separator when bySeparator, otherwise taken character by character.
[[nodiscard]] Text RemoveDuplicateItems(std::string_view text, std::string_view separator,
                                        bool bySeparator);
// Cuts text into characters ("\r\n" and double-byte characters are one item);
// replaces what items held; returns the count.
int SplitCharacters(std::string_view text, TextList& items);
// 1-based position of the first item equal to item, or -1.
[[nodiscard]] int TextListIndexOf(const TextList& items, std::string_view item);

}  // namespace kelvorat
