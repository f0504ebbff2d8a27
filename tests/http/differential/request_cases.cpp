// The table of the differential suite. The capture server's answers, by the
// second path segment: ok, binary, set-cookie, odd-headers, big-headers,
// status-404, landing, and redirect-<code> (to /<case>/landing).
#include "request_cases.h"

namespace kelvorat::differential {
namespace {

Bytes BinaryBody() {
  Bytes bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<std::uint8_t>(i % 256));
  return bytes;
}

// The odd request header lines: spaces around names and values, an empty
// value, a colon inside the value.
constexpr const char* kOddLines = "  x-lead: a\r\nX-Trail :b\r\nAccept:   text/html  \r\nX-Empty:\r\nA:b:c";

std::vector<RequestCase> MakeCases() {
  std::vector<RequestCase> cases;
  auto add = [&cases](RequestCase c) { cases.push_back(std::move(c)); };
  auto direct = [](const std::string& name, const std::string& answer) {
    return "http://{server}/" + name + "/" + answer;
  };

  // Every method, text and binary bodies, zero bytes and empty bodies.
  add({.name = "get", .url = direct("get", "ok")});
  add({.name = "get-binary-answer", .url = direct("get-binary-answer", "binary")});
  add({.name = "get-404", .url = direct("get-404", "status-404")});
  add({.name = "post-text", .url = direct("post-text", "ok"), .method = kPost,
       .textBody = "a=1&b=%E4%B8%AD"});
  add({.name = "post-binary", .url = direct("post-binary", "ok"), .method = kPost,
       .bytesBody = BinaryBody()});
  add({.name = "post-empty", .url = direct("post-empty", "ok"), .method = kPost});
  add({.name = "put-text", .url = direct("put-text", "ok"), .method = kPut,
       .textBody = "put body", .headers = "Content-Type: text/plain"});
  add({.name = "put-binary", .url = direct("put-binary", "ok"), .method = kPut,
       .bytesBody = Bytes{0, 1, 0, 0xFF, 0}});
  add({.name = "delete", .url = direct("delete", "ok"), .method = kDelete});
  add({.name = "delete-body", .url = direct("delete-body", "ok"), .method = kDelete,
       .textBody = "gone"});
  add({.name = "options", .url = direct("options", "ok"), .method = kOptions});
  add({.name = "head", .url = direct("head", "ok"), .method = kHead});
  add({.name = "trace", .url = direct("trace", "ok"), .method = kTrace});
  add({.name = "out-of-range-method", .url = direct("out-of-range-method", "ok"), .method = 42});

  // Request header lines.
  add({.name = "odd-header-lines", .url = direct("odd-header-lines", "ok"), .headers = kOddLines});
  add({.name = "odd-header-lines-as-given", .url = direct("odd-header-lines-as-given", "ok"),
       .headers = kOddLines, .completeHeaders = false, .normalizeHeaders = false});
  add({.name = "header-without-name", .url = direct("header-without-name", "ok"),
       .headers = ": nameless\r\nX-Kept: 1\r\n :also nameless", .normalizeHeaders = false});
  add({.name = "header-without-colon", .url = direct("header-without-colon", "ok"),
       .headers = "X-Kept: 1\r\nNoColon\r\nX-Tab:\tv\t", .normalizeHeaders = false});
  add({.name = "header-line-breaks", .url = direct("header-line-breaks", "ok"),
       .headers = "X-A: 1\nX-Injected: 2\r\nX-B: 3\rX-Injected: 4", .normalizeHeaders = false});
  add({.name = "no-header-lines", .url = direct("no-header-lines", "ok"), .completeHeaders = false});

  // The agent: the default one, the caller's, an empty one.
  add({.name = "agent-caller", .url = direct("agent-caller", "ok"),
       .headers = "User-Agent: KelvoratTest/2.0 (x)"});
  add({.name = "agent-empty", .url = direct("agent-empty", "ok"), .headers = "User-Agent:"});

  // Cookies: the platform's store, then the caller's with the merge on and off.
  add({.name = "platform-cookie-set", .url = direct("platform-cookie-set", "set-cookie")});
  add({.name = "platform-cookie-sent", .url = direct("platform-cookie-sent", "ok")});
  add({.name = "caller-cookies-merge", .url = direct("caller-cookies-merge", "set-cookie"),
       .cookies = "a=1; plat=old; b=2"});
  add({.name = "caller-cookies-no-merge", .url = direct("caller-cookies-no-merge", "set-cookie"),
       .cookies = "a=1; plat=old", .mergeReceived = false});
  add({.name = "caller-cookies-empty", .url = direct("caller-cookies-empty", "ok"), .cookies = ""});
  add({.name = "caller-cookie-line", .url = direct("caller-cookie-line", "ok"),
       .cookies = "Cookie: c=3"});

  // Redirects: not followed, followed, and a POST turned into a GET or kept.
  add({.name = "no-redirect", .url = direct("no-redirect", "redirect-302"), .noRedirect = true});
  add({.name = "redirect-get", .url = direct("redirect-get", "redirect-302")});
  for (const char* code : {"301", "302", "303", "307"}) {
    const std::string name = std::string("redirect-post-") + code;
    add({.name = name, .url = direct(name, std::string("redirect-") + code), .method = kPost,
         .textBody = "form=1"});
  }

  add({.name = "redirect-post-content-headers", .url = direct("redirect-post-content-headers", "redirect-302"),
       .method = kPost, .textBody = "form=1",
       .headers = "Content-Type: text/plain\r\nContent-Language: zh\r\nContent-Encoding: identity"});
  add({.name = "redirect-put-302", .url = direct("redirect-put-302", "redirect-302"), .method = kPut,
       .textBody = "put"});
  add({.name = "redirect-put-307", .url = direct("redirect-put-307", "redirect-307"), .method = kPut,
       .textBody = "put"});
  add({.name = "redirect-options-301", .url = direct("redirect-options-301", "redirect-301"),
       .method = kOptions});
  add({.name = "redirect-head-302", .url = direct("redirect-head-302", "redirect-302"), .method = kHead});
  add({.name = "redirect-delete-303", .url = direct("redirect-delete-303", "redirect-303"),
       .method = kDelete});

  // The target: a space and code page 936 bytes ("中文") in path and query.
  add({.name = "target-space-936",
       .url = "http://{server}/target-space-936/ok/a b\xD6\xD0\xCE\xC4?q=c d&w=\xD6\xD0\xCE\xC4"});

  // Response header lines: odd forms, and a block of 6 KB.
  add({.name = "odd-response-headers", .url = direct("odd-response-headers", "odd-headers")});
  add({.name = "response-line-without-colon", .url = direct("response-line-without-colon", "no-colon")});
  add({.name = "big-response-headers", .url = direct("big-response-headers", "big-headers")});

  // https to a port that speaks plain HTTP: the request fails.
  add({.name = "https-plain-port", .url = "https://{server}/https-plain-port/ok"});

  // Through a proxy, to a host only the proxy knows.
  add({.name = "proxy-get", .viaProxy = true, .url = "http://kelvorat.test/proxy-get/ok"});
  add({.name = "proxy-post", .viaProxy = true, .url = "http://kelvorat.test/proxy-post/ok",
       .method = kPost, .textBody = "p=1"});
  add({.name = "proxy-port", .viaProxy = true, .url = "http://kelvorat.test:8081/proxy-port/ok"});
  add({.name = "proxy-https", .viaProxy = true, .url = "https://kelvorat.test/proxy-https/ok"});
  return cases;
}

}  // namespace

const std::vector<RequestCase>& RequestCases() {
  static const std::vector<RequestCase> cases = MakeCases();
  return cases;
}

}  // namespace kelvorat::differential
