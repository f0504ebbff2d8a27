// Host, port and path of a URL by plain text rules over the primitives; no
// URL grammar, no decoding, no validation.
#include "http/url_parts.h"

#include "text/markers.h"

namespace kelvorat {
namespace {

// The host between the scheme marker and the next '/', with rootOnly reducing
// it to its last two labels.
Text StandardHost(Text work, bool rootOnly) {
  if (CompareText(TextRight(work, 1), "/") != 0) work += '/';

  Text marker = "https://";
  if (CompareText(TextLeft(work, 8), marker) != 0) {
    marker = "http://";
    if (FindText(work, marker) == -1) work = ConcatText(marker, work);
  }
  work = TextBetween(work, marker, "/");

  if (rootOnly) {
    const TextList labels = SplitText(work, ".");
    if (labels.size() >= 2) {
      work = ConcatText(labels[labels.size() - 2], ".", labels.back());
    }
  }
  return work;
}

// The last labels of the text before the first '/', counted by a dot walk
// from the right.
Text DotCountHost(Text work, bool rootOnly, int dotCount) {
  work = ReplaceText(work, "http://", "", true);
  work = ReplaceText(work, "https://", "", true);
  const int slash = FindText(work, "/");
  if (slash != -1) work = TextLeft(work, slash - 1);

  const int length = TextLength(work);
  int h = length;
  // Every step lowers h or makes it -1, and -1 stays -1: stop there.
  for (int i = 0; i < dotCount && h != -1; ++i) h = FindTextReverse(work, ".", h);
  const int l = h == -1 ? -1 : FindTextReverse(work, ".", h);
  if (l == -1) return work;

  if (rootOnly) return TextRight(work, length - l);
  const int m = FindTextReverse(work, ".", l);
  if (m == -1) return work;
  return TextRight(work, length - m);
}

}  // namespace

Text UrlGetHost(std::string_view url, bool rootOnly, bool keepPort, std::optional<int> dotCount) {
  const Text lowered = ToLower(url);
  Text host = dotCount.has_value() ? DotCountHost(lowered, rootOnly, *dotCount)
                                   : StandardHost(lowered, rootOnly);
  if (keepPort) return host;
  const int colon = FindText(host, ":");
  if (colon != -1) host = TextLeft(host, colon - 1);
  return host;
}

std::int32_t UrlGetPort(std::string_view url) {
  const Text hostAndPort = UrlGetHost(url, false, true);
  const int colon = FindTextReverse(hostAndPort, ":");
  if (colon != -1) return ToInt(TextRight(hostAndPort, TextLength(hostAndPort) - colon));
  return CompareText(TextLeft(ToLower(url), 5), "https") == 0 ? 443 : 80;
}

Text UrlGetPath(std::string_view url) {
  const Text host = UrlGetHost(url);
  const int a = FindText(url, host, 1, true);
  const int b = FindText(url, "/", a, true);
  if (b == -1) return "/";
  return TextRight(url, TextLength(url) - b + 1);
}

}  // namespace kelvorat
