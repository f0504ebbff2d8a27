// Trimming and removing spaces: the byte 0x20 and the full-width space A1 A1.
#include "text/internal/char_walk.h"
#include "text/text.h"

namespace kelvorat {

using internal::CharWidth;
using internal::IsSpaceAt;

Text TrimText(std::string_view text) {
  std::size_t begin = 0;
  while (begin < text.size() && IsSpaceAt(text, begin)) begin += CharWidth(text, begin);
  // Trailing spaces can only be told from second bytes by walking forward.
  std::size_t end = text.size();
  bool inRun = false;
  for (std::size_t i = begin; i < text.size(); i += CharWidth(text, i)) {
    if (!IsSpaceAt(text, i)) {
      inRun = false;
    } else if (!inRun) {
      inRun = true;
      end = i;
    }
  }
  if (!inRun) end = text.size();
  return Text(text.substr(begin, end - begin));
}

Text RemoveSpaces(std::string_view text) {
  Text result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t width = CharWidth(text, i);
    if (!IsSpaceAt(text, i)) result.append(text.substr(i, width));
    i += width;
  }
  return result;
}

}  // namespace kelvorat
