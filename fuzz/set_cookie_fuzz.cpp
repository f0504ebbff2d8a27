// Fuzzes the request engine over the recording platform: any response header
// block, body and cookie text. The Set-Cookie collection and the merge must
// give a clean cookie string, the body must come back byte for byte, and
// every handle must be closed.
#include "fuzz_input.h"
#include "http/http_request.h"
#include "support/recording_wininet.h"
#include "text/markers.h"

namespace {

bool HasDeletedItem(std::string_view cookies) {
  for (const std::string& item : kelvorat::fuzz::SplitAtBytes(cookies, "; ")) {
    if (item.size() >= 8 && item.compare(item.size() - 8, 8, "=deleted") == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace kelvorat;
  using namespace kelvorat::fuzz;
  const FuzzInput input(data, size);
  fakes::ScriptedResponse response;
  response.rawHeaders = std::string(input.Part(0));
  const std::string_view body = input.Part(1);
  response.body.assign(body.begin(), body.end());
  response.maxPiece = static_cast<wininet::DWORD>(input.Switches() >> 4);
  fakes::RecordingWinInet fake;
  fake.SetDefaultResponse(response);
  wininet::ScopedWinInet use(fake);

  const bool cookiesSupplied = input.Switch(0);
  const bool merge = input.Switch(1);
  Text cookies(input.Part(2));
  Text headers(input.Part(3));
  Text receivedCookies = "stale", responseHeaders = "stale";
  const Bytes result = HttpRequest("http://a.example/p", {.method = input.Switch(2) ? kPost : kGet,
                                                          .cookies = cookiesSupplied ? &cookies : nullptr,
                                                          .receivedCookies = &receivedCookies,
                                                          .headers = &headers,
                                                          .responseHeaders = &responseHeaders,
                                                          .mergeReceived = merge});

  FUZZ_CHECK(result == response.body);
  FUZZ_CHECK(fake.OpenHandles().empty() && fake.misuse().empty());
  FUZZ_CHECK(!HasZeroByte(receivedCookies) && !HasZeroByte(responseHeaders) && !HasZeroByte(headers));
  if (response.rawHeaders.size() + 1 <= 5000) {
    FUZZ_CHECK(responseHeaders == response.rawHeaders);
  } else {
    FUZZ_CHECK(responseHeaders == Text(5000, ' '));
  }
  if (responseHeaders.find("Set-Cookie: ") == std::string::npos && !(cookiesSupplied && merge)) {
    FUZZ_CHECK(receivedCookies.empty());
  }
  if (cookiesSupplied && merge) {
    FUZZ_CHECK(cookies == receivedCookies);
    FUZZ_CHECK(!HasDeletedItem(receivedCookies));
    for (const std::string& item : SplitAtBytes(receivedCookies, "; ")) FUZZ_CHECK(RemoveSpaces(item) == item);
  } else if (cookiesSupplied) {
    FUZZ_CHECK(cookies == input.Part(2));
  }
  // Each collected item is one Set-Cookie line's: never more items than lines.
  if (!(cookiesSupplied && merge) && !receivedCookies.empty()) {
    std::size_t lines = 0;
    for (const Text& line : SplitText(responseHeaders, "\r\n")) lines += TextBefore(line, ": ") == "Set-Cookie";
    FUZZ_CHECK(SplitText(receivedCookies, "; ").size() <= lines);
  }
  return 0;
}
