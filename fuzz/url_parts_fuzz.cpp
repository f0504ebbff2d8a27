// Fuzzes URL decomposition in both modes with any dotCount: lower-case host
// texts, ports from the rules, and a path that is "/" or the URL's own tail.
#include <optional>

#include "fuzz_input.h"
#include "http/url_parts.h"
#include "text/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  const std::string_view url = input.Part(0);
  const bool rootOnly = input.Switch(0);
  const bool keepPort = input.Switch(1);
  const std::optional<int> dotCount =
      input.Switch(2) ? std::optional<int>(input.Number(1)) : std::nullopt;

  const Text host = UrlGetHost(url, rootOnly, keepPort, dotCount);
  FUZZ_CHECK(!HasZeroByte(host));
  FUZZ_CHECK(ToLower(host) == host);
  // Dropping the port is cutting at the first ':' (as the character walk finds it).
  if (!keepPort) FUZZ_CHECK(FindText(host, ":") == -1);
  const Text withPort = UrlGetHost(url, rootOnly, true, dotCount);
  const int colon = FindText(withPort, ":");
  FUZZ_CHECK(UrlGetHost(url, rootOnly, false, dotCount) == (colon == -1 ? withPort : TextLeft(withPort, colon - 1)));
  if (dotCount) {
    // A negative count walks no dot; a huge one no further than the dots there are.
    if (*dotCount < 0) FUZZ_CHECK(UrlGetHost(url, rootOnly, keepPort, 0) == host);
    FUZZ_CHECK(UrlGetHost(url, rootOnly, keepPort, INT32_MAX) ==
               UrlGetHost(url, rootOnly, keepPort, static_cast<int>(url.size()) + 1));
  }

  const std::int32_t port = UrlGetPort(url);
  const Text hostAndPort = UrlGetHost(url, false, true);
  const int lastColon = FindTextReverse(hostAndPort, ":");
  if (lastColon == -1) FUZZ_CHECK(port == 80 || port == 443);
  else FUZZ_CHECK(port == ToInt(TextMid(hostAndPort, lastColon + 1, kWholeText)));

  const Text path = UrlGetPath(url);
  FUZZ_CHECK(!path.empty() && path[0] == '/');
  FUZZ_CHECK(path == "/" || (url.size() >= path.size() && url.substr(url.size() - path.size()) == path));
  return 0;
}
