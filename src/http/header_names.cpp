// Header-name normalization: capitalises the words of each header name and
// leaves everything from the colon on exactly as the caller wrote it.
#include "http/header_names.h"

namespace kelvorat {

Text CapitalizeFirst(std::string_view text) {
  return ConcatText(ToUpper(TextLeft(text, 1)), TextRight(text, TextLength(text) - 1));
}

Text NormalizeHeaderNames(std::string_view headers) {
  Text result;
  for (const Text& line : SplitText(headers, "\r\n")) {
    const int colon = FindText(line, ":");
    if (colon == -1) continue;
    const Text name = TextLeft(line, colon - 1);

    Text newName;
    if (FindText(name, "-") != -1) {
      const TextList words = SplitText(name, "-");
      for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0) newName += '-';
        newName += CapitalizeFirst(words[i]);
      }
    } else {
      newName = CapitalizeFirst(name);
    }
    // Splitting drops a piece after a final '-'; taking the rest of the line
    // from the new name's length on brings that dash back.
    result += ConcatText(newName, TextRight(line, TextLength(line) - TextLength(newName)), "\r\n");
  }
  return TextLeft(result, TextLength(result) - 2);
}

}  // namespace kelvorat
