// Cutting a piece of Text out by markers, built on the search primitives so
// that positions, double-byte stepping and case folding follow their rules.
#include "text/markers.h"

namespace kelvorat {
namespace {

// "#引号" in code page 936: lets a caller write a double quote inside a marker.
constexpr std::string_view kQuotePlaceholder = "#\xD2\xFD\xBA\xC5";

}  // namespace

Text TextBetween(std::string_view text, std::string_view leftMarker,
                 std::string_view rightMarker, int startPos, bool ignoreCase) {
  const Text left = ReplaceText(leftMarker, kQuotePlaceholder, "\"", true);
  const Text right = ReplaceText(rightMarker, kQuotePlaceholder, "\"", true);

  int p = FindText(text, left, startPos < 2 ? 1 : startPos, ignoreCase);
  if (p == -1) return Text();
  p += TextLength(left);

  const int q = FindText(text, right, p, ignoreCase);
  if (q == -1) return Text();
  // An empty right marker is "found" at 1, before p: TextMid gives "" for that.
  return TextMid(text, p, q - p);
}

Text TextBefore(std::string_view text, std::string_view marker, int startPos, bool ignoreCase) {
  if (startPos <= 0) startPos = 1;
  const int p = FindText(text, marker, startPos, ignoreCase);
  if (p == -1) return Text();
  return TextLeft(text, p - 1);
}

Text HeaderLineValue(std::string_view line) {
  const int p = FindText(line, ":");
  if (p == -1) return Text();
  return TrimText(TextRight(line, TextLength(line) - p));
}

}  // namespace kelvorat
