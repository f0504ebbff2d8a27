// Searching, replacing and splitting, stepping by character.
#include <algorithm>
#include <cstring>

#include "text/internal/char_walk.h"
#include "text/text.h"

namespace kelvorat {
namespace internal {
namespace {

bool MatchesAt(const unsigned char* at, std::string_view target, bool ignoreCase) {
  const auto* want = reinterpret_cast<const unsigned char*>(target.data());
  if (!ignoreCase) return std::memcmp(at, want, target.size()) == 0;
  for (std::size_t k = 0; k < target.size(); ++k) {
    if (FoldAscii(at[k]) != FoldAscii(want[k])) return false;
  }
  return true;
}

// Whether c is a character start, given that aligned (<= c) is one. The byte
// after any byte below 0x80 always starts a character, so only the run of high
// bytes just before c needs counting: c starts a character when the run's
// length is even.
bool IsCharStart(const unsigned char* p, std::size_t aligned, std::size_t c) {
  std::size_t runStart = c;
  while (runStart > aligned && IsLeadByte(p[runStart - 1])) --runStart;
  return (c - runStart) % 2 == 0;
}

// The case-sensitive search: first every byte-for-byte match, and only for a
// match the check that it starts a character, which real text nearly always
// passes. A candidate is the first byte found (inline when it is near, else by
// memchr) whose last byte matches too, then the bytes between. Each run
// counted lies between the last known character start and the match, so the
// counting stays linear over the whole search.
std::size_t FindExact(const unsigned char* p, std::size_t n, std::size_t from, std::string_view target) {
  const auto* want = reinterpret_cast<const unsigned char*>(target.data());
  const std::size_t t = target.size();
  const std::size_t last = n - t;  // the last index a match may start at
  const unsigned char first = want[0];
  const unsigned char final = want[t - 1];
  std::size_t aligned = from;  // a known character start at or before the next match
  for (std::size_t i = from; i <= last; ++i) {
    if (p[i] != first) {
      // Dense text: the next few bytes inline before paying for a memchr call.
      const std::size_t near = std::min(last, i + 3);
      while (i < near && p[i] != first) ++i;
      if (p[i] != first) {
        const void* hit = std::memchr(p + i, first, last - i + 1);
        if (hit == nullptr) return std::string_view::npos;
        i = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
      }
    }
    if (p[i + t - 1] != final || std::memcmp(p + i + 1, want + 1, t > 1 ? t - 2 : 0) != 0) continue;
    if (IsCharStart(p, aligned, i)) return i;
    aligned = i + 1;  // i is the second byte of a character
  }
  return std::string_view::npos;
}

}  // namespace

std::size_t FindForward(std::string_view text, std::size_t from, std::string_view target,
                        bool ignoreCase) {
  const std::size_t n = text.size();
  const std::size_t t = target.size();
  if (from > n || n - from < t) return std::string_view::npos;
  if (t == 0) return from;
  const std::size_t last = n - t;  // the last index a match may start at
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto first = static_cast<unsigned char>(target[0]);

  if (ignoreCase && IsAsciiLetter(first)) {
    // The first byte has two spellings: plain walk.
    for (std::size_t i = from; i <= last; i += CharWidth(text, i)) {
      if (MatchesAt(p + i, target, true)) return i;
    }
    return std::string_view::npos;
  }

  if (!ignoreCase) return FindExact(p, n, from, target);

  // Jump between occurrences of the first byte with memchr and check that the
  // hit is a character start. The byte after any byte below 0x80 always starts
  // a character, so only the run of high bytes just before the hit needs
  // counting: an even run length means the hit is a character start. The runs
  // looked at lie between successive hits, so the whole walk stays linear.
  std::size_t aligned = from;  // a known character start at or before the hit
  std::size_t i = from;
  while (i <= last) {
    // Dense hits: test the next byte before paying for a memchr call.
    const void* hit = p[i] == first ? p + i : std::memchr(p + i, first, last - i + 1);
    if (hit == nullptr) return std::string_view::npos;
    const auto c = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p);
    if (!IsCharStart(p, aligned, c)) {
      aligned = i = c + 1;
      continue;
    }
    if (MatchesAt(p + c, target, ignoreCase)) return c;
    aligned = i = c + CharWidth(text, c);
  }
  return std::string_view::npos;
}

}  // namespace internal

using internal::CharWidth;
using internal::FindForward;

int FindText(std::string_view text, std::string_view target, int start, bool ignoreCase) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return -1;
  if (target.empty()) return 1;
  const std::size_t at = FindForward(text, from, target, ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at) + 1;
}

int FindTextReverse(std::string_view text, std::string_view target, int limit, bool ignoreCase) {
  if (limit <= 1) return -1;
  const std::string_view range =
      text.substr(0, std::min(text.size(), static_cast<std::size_t>(limit) - 1));
  if (range.empty()) return -1;
  if (target.empty()) return 1;
  std::size_t found = std::string_view::npos;
  for (std::size_t from = 0;;) {
    const std::size_t at = FindForward(range, from, target, ignoreCase);
    if (at == std::string_view::npos) break;
    found = at;
    from = at + CharWidth(range, at);  // matches may overlap
  }
  return found == std::string_view::npos ? -1 : static_cast<int>(found) + 1;
}

Text ReplaceText(std::string_view text, std::string_view target, std::string_view replacement,
                 bool caseSensitive) {
  if (text.empty() || target.empty()) return Text(text);
  Text result;
  result.reserve(text.size());
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = FindForward(text, from, target, !caseSensitive);
    if (at == std::string_view::npos) break;
    result.append(text.substr(from, at - from));
    result.append(replacement);
    from = at + target.size();
  }
  result.append(text.substr(from));
  return result;
}

TextList SplitText(std::string_view text, std::string_view delimiter) {
  TextList items;
  if (text.empty()) return items;
  if (delimiter.empty()) {
    items.emplace_back(text);
    return items;
  }
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = FindForward(text, from, delimiter, false);
    if (at == std::string_view::npos) break;
    items.emplace_back(text.substr(from, at - from));
    from = at + delimiter.size();
  }
  if (from < text.size()) items.emplace_back(text.substr(from));
  return items;
}

}  // namespace kelvorat
