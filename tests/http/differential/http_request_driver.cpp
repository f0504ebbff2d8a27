// The driver of the differential suite: sends every case of one pass (direct
// or proxy) through HttpRequest and writes what it handed back to a file, for
// scripts/test-differential.sh to set beside the other platform's.
//
//   http_request_driver <capture port> direct|proxy <output file>
//
// Each case is a "CASE <name>" line followed by "<field> <bytes>" lines, the
// bytes 0x21..0x7E as they are ("\" doubled) and every other byte as \xHH.
#include <cstdio>
#include <string>

#include "http/platform/system_binding.h"
#include "request_cases.h"

namespace kelvorat::differential {
namespace {

template <typename ByteRange>
std::string Escaped(const ByteRange& bytes) {
  std::string out;
  for (const auto byte : bytes) {
    const auto c = static_cast<unsigned char>(byte);
    if (c == '\\') {
      out += "\\\\";
    } else if (c > 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

void Field(std::FILE* out, const char* name, const std::string& value) {
  std::fprintf(out, "%s %s\n", name, value.c_str());
}

}  // namespace

int Run(const std::string& port, bool proxyPass, const char* outputPath) {
  std::FILE* out = std::fopen(outputPath, "wb");
  if (out == nullptr) {
    std::fprintf(stderr, "cannot write %s\n", outputPath);
    return 2;
  }
  const std::string server = "127.0.0.1:" + port;
  for (const RequestCase& c : RequestCases()) {
    if (c.viaProxy != proxyPass) continue;
    Text headers = c.headers;
    Text responseHeaders;
    Text receivedCookies;
    std::optional<Text> cookies = c.cookies;
    std::optional<Bytes> bytesBody = c.bytesBody;
    const std::string url = Replaced(c.url, "{server}", server);
    const Bytes body = HttpRequest(url, {.method = c.method,
                                         .textBody = c.textBody,
                                         .cookies = cookies ? &*cookies : nullptr,
                                         .receivedCookies = &receivedCookies,
                                         .headers = &headers,
                                         .responseHeaders = &responseHeaders,
                                         .noRedirect = c.noRedirect,
                                         .bytesBody = bytesBody ? &*bytesBody : nullptr,
                                         .proxy = proxyPass ? std::string_view(server) : std::string_view(),
                                         .mergeReceived = c.mergeReceived,
                                         .completeHeaders = c.completeHeaders,
                                         .normalizeHeaders = c.normalizeHeaders});
    std::fprintf(out, "CASE %s\n", c.name.c_str());
    Field(out, "body", Escaped(body));
    Field(out, "responseHeaders", Escaped(responseHeaders));
    Field(out, "receivedCookies", Escaped(receivedCookies));
    Field(out, "headers", Escaped(headers));
    if (cookies) Field(out, "cookies", Escaped(*cookies));
    if (bytesBody) Field(out, "bytesBody", Escaped(*bytesBody));
  }
  return std::fclose(out) == 0 ? 0 : 2;
}

}  // namespace kelvorat::differential

int main(int argc, char** argv) {
  const std::string pass = argc == 4 ? argv[2] : "";
  if (pass != "direct" && pass != "proxy") {
    std::fprintf(stderr, "usage: http_request_driver <capture port> direct|proxy <output file>\n");
    return 2;
  }
  const kelvorat::wininet::ScopedWinInet system(kelvorat::wininet::SystemBinding());
  return kelvorat::differential::Run(argv[1], pass == "proxy", argv[3]);
}
