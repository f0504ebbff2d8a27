// The request engine: one HTTP exchange through the WinINet-shaped platform,
// from opening the session to collecting and merging the cookies the server set.
#include "http/http_request.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "http/cookie_merge.h"
#include "http/header_names.h"
#include "http/platform/wininet.h"
#include "http/url_parts.h"
#include "text/markers.h"

namespace kelvorat {
namespace {

using namespace wininet;

constexpr std::array<const char*, 8> kMethodNames = {"GET",     "POST",   "HEAD",  "PUT",
                                                     "OPTIONS", "DELETE", "TRACE", "CONNECT"};

// Certificate and redirect checks the engine switches off on every request.
constexpr DWORD kSecurityFlags = SECURITY_FLAG_IGNORE_REVOCATION | SECURITY_FLAG_IGNORE_UNKNOWN_CA |
                                 SECURITY_FLAG_IGNORE_WRONG_USAGE | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                                 SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS |
                                 SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP | SECURITY_FLAG_IGNORE_WEAK_SIGNATURE;
// The value the platform has always been given, bit for bit.
static_assert(kSecurityFlags == 0x0001F380);
constexpr DWORD kReadPieceSize = 1024;
// The response header buffer, its terminating zero byte not counted.
constexpr int kResponseHeaderSpace = 5000;

// The handles of one request; whatever is still open is closed newest first.
class OpenHandles {
 public:
  explicit OpenHandles(WinInetApi& api) : api_(api) {}
  OpenHandles(const OpenHandles&) = delete;
  OpenHandles& operator=(const OpenHandles&) = delete;
  ~OpenHandles() { CloseAll(); }

  void CloseAll() {
    for (HINTERNET* handle : {&request, &connection, &session}) {
      if (*handle != nullptr) {
        api_.InternetCloseHandle(*handle);
        *handle = nullptr;
      }
    }
  }

  HINTERNET session = nullptr;
  HINTERNET connection = nullptr;
  HINTERNET request = nullptr;

 private:
  WinInetApi& api_;
};

bool HasHeader(std::string_view block, std::string_view nameAndColon) {
  return FindText(block, nameAndColon, 1, true) != -1;
}

// The caller's own agent when the block names one, else the default agent.
Text AgentFor(std::string_view block) {
  if (!HasHeader(block, "User-Agent:")) return Text(kDefaultAgent);
  Text agent = TrimText(TextBetween(ConcatText(block, "\r\n"), "User-Agent:", "\r\n"));
  if (agent.empty()) agent = HeaderLineValue(block);
  return agent;
}

void CompleteHeaders(Text& block, std::string_view url, int method) {
  if (block.empty()) block = "Accept: */*";
  if (!HasHeader(block, "Accept:")) block += "\r\nAccept: */*";
  if (!HasHeader(block, "Referer:")) block = ConcatText(block, "\r\nReferer: ", url);
  if (!HasHeader(block, "Accept-Language:")) block += "\r\nAccept-Language: zh-cn";
  if (method == kPost && !HasHeader(block, "Content-Type:")) {
    block += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
}

void AppendCookieLine(Text& block, std::string_view cookies) {
  if (FindText(cookies, "Cookie:") == -1) {
    block = ConcatText(block, "\r\nCookie: ", cookies);
  } else {
    block = ConcatText(block, "\r\n", cookies);
  }
}

// The name=value items of the Set-Cookie lines, joined with "; ".
Text CollectSetCookies(std::string_view responseHeaders) {
  Text cookies;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (TextBefore(line, ": ") != "Set-Cookie") continue;
    Text item = FindText(line, ";") != -1 ? TextBetween(line, "Set-Cookie:", ";")
                                          : ReplaceText(line, "Set-Cookie:", "", false);
    cookies += TrimText(item);
    cookies += "; ";
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

}  // namespace

Bytes HttpRequest(std::string_view url, const HttpRequestOptions& options) {
  // Omitted in/out and out settings: scratch variables whose results are dropped.
  Text scratchReceivedCookies, scratchHeaders, scratchResponseHeaders;
  Bytes scratchBytesBody;
  Text& receivedCookies = options.receivedCookies ? *options.receivedCookies : scratchReceivedCookies;
  Text& headers = options.headers ? *options.headers : scratchHeaders;
  Text& responseHeaders = options.responseHeaders ? *options.responseHeaders : scratchResponseHeaders;
  Bytes& bytesBody = options.bytesBody ? *options.bytesBody : scratchBytesBody;
  const bool cookiesSupplied = options.cookies != nullptr;

  Bytes body;

  if (options.normalizeHeaders) headers = NormalizeHeaderNames(headers);

  const int method = options.method < kGet || options.method > kConnect ? kGet : options.method;
  const bool isHttps = CompareText(ToLower(TextLeft(url, 8)), "https://") == 0;
  const Text agent = AgentFor(headers);

  WinInetApi& api = CurrentWinInet();
  OpenHandles handles(api);
  const char* agentArg = agent.empty() ? nullptr : agent.c_str();
  if (options.proxy.empty()) {
    handles.session = api.InternetOpenA(agentArg, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  } else {
    const Text proxyText = isHttps ? Text(options.proxy) : ConcatText("http=", options.proxy);
    handles.session = api.InternetOpenA(agentArg, INTERNET_OPEN_TYPE_PROXY, proxyText.c_str(), "", 0);
  }
  if (handles.session == nullptr) return {};

  const Text host = UrlGetHost(url);
  const auto port = static_cast<INTERNET_PORT>(UrlGetPort(url));
  handles.connection = api.InternetConnectA(handles.session, host.c_str(), port, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
  if (handles.connection == nullptr) return {};

  DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE;
  if (cookiesSupplied) flags |= INTERNET_FLAG_NO_COOKIES;
  if (options.noRedirect) flags |= INTERNET_FLAG_NO_AUTO_REDIRECT;
  flags |= isHttps ? INTERNET_FLAG_SECURE : INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

  const Text path = UrlGetPath(url);
  handles.request = api.HttpOpenRequestA(handles.connection, kMethodNames[method], path.c_str(),
                                         "HTTP/1.1", nullptr, nullptr, flags, 0);
  if (handles.request == nullptr) return {};

  DWORD securityFlags = kSecurityFlags;
  api.InternetSetOptionA(handles.request, INTERNET_OPTION_SECURITY_FLAGS, &securityFlags,
                         sizeof securityFlags);

  if (options.completeHeaders) CompleteHeaders(headers, url, method);
  if (cookiesSupplied && !options.cookies->empty()) AppendCookieLine(headers, *options.cookies);

  const char* headersArg = headers.empty() ? nullptr : headers.c_str();
  const auto headersLength = static_cast<DWORD>(headers.size());
  if (method == kGet) {
    api.HttpSendRequestA(handles.request, headersArg, headersLength, nullptr, 0);
  } else {
    if (bytesBody.empty()) bytesBody = TextToBytes(options.textBody);
    api.HttpSendRequestA(handles.request, headersArg, headersLength,
                         bytesBody.empty() ? nullptr : bytesBody.data(),
                         static_cast<DWORD>(bytesBody.size()));
  }

  // Pieces are appended in place so that a long body costs amortized constant
  // time per piece rather than a copy of everything read so far.
  Bytes piece = BlankBytes(kReadPieceSize);
  bool bodyCutShort = false;
  for (;;) {
    DWORD count = 0;
    const bool readOk = api.InternetReadFile(handles.request, piece.data(), kReadPieceSize, &count);
    count = std::min(count, kReadPieceSize);  // never trust more than the buffer holds
    if (count == 0) {
      bodyCutShort = !readOk;
      break;
    }
    body.insert(body.end(), piece.begin(), piece.begin() + count);
  }
  // A transfer that failed on the way (reset, timed out, too long) has no
  // answer to give: part of a body must not pass for the whole of it.
  if (bodyCutShort) body = Bytes();

  responseHeaders = BlankText(kResponseHeaderSpace);
  DWORD headerLength = kResponseHeaderSpace;
  api.HttpQueryInfoA(handles.request, HTTP_QUERY_RAW_HEADERS_CRLF, responseHeaders.data(),
                     &headerLength, nullptr);
  responseHeaders.resize(std::strlen(responseHeaders.c_str()));

  handles.CloseAll();

  receivedCookies = CollectSetCookies(responseHeaders);
  if (options.mergeReceived && cookiesSupplied) {
    receivedCookies = MergeCookies(*options.cookies, receivedCookies);
  }
  return body;
}

Text HttpGetText(std::string_view url) { return BytesToText(HttpRequest(url)); }

}  // namespace kelvorat
