// One request over libcurl's multi interface, paused whenever the reader has
// a full window of body bytes waiting.
#include "http/platform/curl/curl_transfer.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

#include "http/platform/curl/cookie_store.h"
#include "http/platform/curl/request_headers.h"
#include "http/platform/wait_hook.h"

namespace kelvorat::wininet::curl {

CurlTransfer::CurlTransfer(TransferSpec spec) : spec_(std::move(spec)) {}

CurlTransfer::~CurlTransfer() {
  if (multi_ != nullptr && easy_ != nullptr) curl_multi_remove_handle(multi_, easy_);
  if (easy_ != nullptr) curl_easy_cleanup(easy_);
  if (multi_ != nullptr) curl_multi_cleanup(multi_);
  curl_slist_free_all(headerList_);
}

bool CurlTransfer::Configure() {
  easy_ = curl_easy_init();
  multi_ = curl_multi_init();
  if (easy_ == nullptr || multi_ == nullptr) return false;

  for (const std::string& line : spec_.headerLines) {
    curl_slist* next = curl_slist_append(headerList_, line.c_str());
    if (next == nullptr) return false;
    headerList_ = next;
  }

  CURL* e = easy_;
  bool ok = true;
  auto set = [&ok](CURLcode code) { ok = ok && code == CURLE_OK; };
  set(curl_easy_setopt(e, CURLOPT_URL, spec_.url.c_str()));
  set(curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_REDIR_PROTOCOLS_STR, "http,https"));
  set(curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L));
  // The target was escaped already; dot segments go out as the caller wrote them.
  set(curl_easy_setopt(e, CURLOPT_PATH_AS_IS, 1L));
  set(curl_easy_setopt(e, CURLOPT_HTTP_VERSION,
                       spec_.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1));
  set(curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, spec_.followRedirects ? 1L : 0L));
  set(curl_easy_setopt(e, CURLOPT_MAXREDIRS, kMaxRedirects - redirectsSeen_));
  set(curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlTransfer::OnHeader));
  set(curl_easy_setopt(e, CURLOPT_HEADERDATA, this));
  set(curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlTransfer::OnBody));
  set(curl_easy_setopt(e, CURLOPT_WRITEDATA, this));
  set(curl_easy_setopt(e, CURLOPT_BUFFERSIZE, static_cast<long>(kBodyWindow)));
  // Bodies are handed over as the server encoded them; only chunking is undone.
  set(curl_easy_setopt(e, CURLOPT_HTTP_CONTENT_DECODING, 0L));
  set(curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L));
  // The caller's headers go to the server only, never into a proxy CONNECT.
  set(curl_easy_setopt(e, CURLOPT_HEADEROPT, static_cast<long>(CURLHEADER_SEPARATE)));
  set(curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList_));
  set(curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS,
                       static_cast<long>(spec_.bounds.connect.count())));
  set(curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L));
  set(curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(spec_.bounds.idle.count())));
  set(curl_easy_setopt(e, CURLOPT_TIMEOUT_MS,
                       static_cast<long>(std::chrono::milliseconds(spec_.bounds.total).count())));
  set(curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, spec_.verifyPeer ? 1L : 0L));
  set(curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, spec_.verifyHost ? 2L : 0L));
  if (spec_.agent) set(curl_easy_setopt(e, CURLOPT_USERAGENT, spec_.agent->c_str()));
  if (spec_.proxy) {
    // Both set, even empty, so that no proxy variable of the environment applies.
    set(curl_easy_setopt(e, CURLOPT_PROXY, spec_.proxy->c_str()));
    set(curl_easy_setopt(e, CURLOPT_NOPROXY, spec_.noProxy.c_str()));
  }
  if (spec_.useCookies) {
    if (CURLSH* store = SharedCookieStore()) {
      set(curl_easy_setopt(e, CURLOPT_SHARE, store));
      // The share holds the jar; this turns the handle's cookie engine on.
      set(curl_easy_setopt(e, CURLOPT_COOKIEFILE, ""));
    }
  }

  // libcurl handles GET, HEAD and POST natively (redirects then change the
  // method as browsers do); any other verb is sent as a custom one.
  const bool hasBody = spec_.body && !spec_.body->empty();
  auto setBody = [&] {
    // libcurl reads the body from spec_, which lives as long as the transfer.
    if (!spec_.body) spec_.body.emplace();
    set(curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(spec_.body->size())));
    set(curl_easy_setopt(e, CURLOPT_POSTFIELDS, spec_.body->c_str()));
  };
  if (spec_.verb == "GET") {
    set(curl_easy_setopt(e, CURLOPT_HTTPGET, 1L));
  } else if (spec_.verb == "HEAD" && !hasBody) {
    set(curl_easy_setopt(e, CURLOPT_NOBODY, 1L));
  } else if (spec_.verb == "HEAD") {
    // libcurl's own HEAD sends no body; this one does, and the transfer ends
    // at the final headers (OnHeader) since an answer to HEAD has no body.
    setBody();
    set(curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, "HEAD"));
    endAtHeaders_ = true;
  } else if (spec_.verb == "POST") {
    setBody();
  } else {
    set(curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, spec_.verb.c_str()));
    if (hasBody) setBody();
  }
  return ok && curl_multi_add_handle(multi_, easy_) == CURLM_OK;
}

void CurlTransfer::DropBodyHeaders() {
  // libcurl reads the list anew for every request it sends; "Name:" makes it
  // send no line of that name. The line is cut short in place: the list must
  // stay the one libcurl holds.
  for (curl_slist* node = headerList_; node != nullptr; node = node->next) {
    if (!DescribesBody(node->data)) continue;
    char* separator = std::strpbrk(node->data, ":;");
    separator[0] = ':';
    separator[1] = '\0';
  }
}

bool CurlTransfer::RedirectAsGet() {
  char* current = nullptr;
  if (curl_easy_getinfo(easy_, CURLINFO_EFFECTIVE_URL, &current) != CURLE_OK || current == nullptr) {
    return false;
  }
  CURLU* url = curl_url();
  char* next = nullptr;
  // The Location read against the current URL the way libcurl reads it when
  // it follows a redirect itself.
  const unsigned int flags = CURLU_URLENCODE | CURLU_ALLOW_SPACE | CURLU_PATH_AS_IS;
  const bool ok = url != nullptr && curl_url_set(url, CURLUPART_URL, current, 0) == CURLUE_OK &&
                  curl_url_set(url, CURLUPART_URL, headers_.location().c_str(), flags) == CURLUE_OK &&
                  curl_url_get(url, CURLUPART_URL, &next, 0) == CURLUE_OK;
  if (ok) redirectedGetUrl_ = next;
  curl_free(next);
  curl_url_cleanup(url);
  return ok;
}

bool CurlTransfer::StartRedirectedGet() {
  // The whole request, this redirect included, stays within the total time.
  curl_off_t spentMicroseconds = 0;
  curl_easy_getinfo(easy_, CURLINFO_TOTAL_TIME_T, &spentMicroseconds);
  spec_.bounds.total -=
      std::chrono::ceil<std::chrono::seconds>(std::chrono::microseconds(spentMicroseconds));
  curl_multi_remove_handle(multi_, easy_);
  curl_easy_cleanup(easy_);
  curl_multi_cleanup(multi_);
  curl_slist_free_all(headerList_);
  easy_ = nullptr;
  multi_ = nullptr;
  headerList_ = nullptr;
  spec_.url = std::exchange(redirectedGetUrl_, std::string());
  spec_.verb = "GET";
  spec_.body.reset();
  std::erase_if(spec_.headerLines, [](const std::string& line) { return DescribesBody(line); });
  done_ = false;
  result_ = CURLE_OK;
  endAtHeaders_ = false;
  paused_ = false;
  if (spec_.bounds.total > std::chrono::seconds(0) && Configure()) return true;
  done_ = true;
  result_ = CURLE_FAILED_INIT;
  return false;
}

bool CurlTransfer::Start() {
  if (started_) return finalHeaders_;
  started_ = true;
  if (!Configure()) {
    done_ = true;
    result_ = CURLE_FAILED_INIT;
    return false;
  }
  Drive([this] { return finalHeaders_; });
  return finalHeaders_;
}

bool CurlTransfer::Read(char* buffer, std::size_t size, std::size_t* count) {
  *count = 0;
  if (!finalHeaders_) return false;
  if (Available() == 0 && !done_) {
    if (paused_) {
      paused_ = false;
      curl_easy_pause(easy_, CURLPAUSE_CONT);
    }
    Drive([this] { return Available() > 0; });
  }
  const std::size_t n = std::min(size, Available());
  if (n > 0) {
    std::memcpy(buffer, pending_.data() + readPos_, n);
    readPos_ += n;
    if (readPos_ == pending_.size()) {
      pending_.clear();
      readPos_ = 0;
    }
  }
  *count = n;
  return n > 0 || result_ == CURLE_OK;
}

template <typename Ready>
void CurlTransfer::Drive(Ready ready) {
  while (!done_ && !ready()) {
    int running = 0;
    if (curl_multi_perform(multi_, &running) != CURLM_OK) {
      done_ = true;
      result_ = CURLE_RECV_ERROR;
      break;
    }
    int queued = 0;
    while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
      if (message->msg == CURLMSG_DONE && !done_) {
        done_ = true;
        result_ = message->data.result;
      }
    }
    if (done_ && !redirectedGetUrl_.empty()) {
      if (StartRedirectedGet()) continue;
      break;
    }
    if (done_) {
      // A complete final response whose headers were judged an interim step.
      if (result_ == CURLE_OK && headers_.complete()) finalHeaders_ = true;
      break;
    }
    if (ready()) break;
    // With a wait hook the thread waits in short slices and lets the hook
    // run between them (a window keeps painting); libcurl keeps the time-outs.
    const bool hooked = WaitHookForThisThread() != nullptr;
    const int waitMs = hooked ? static_cast<int>(kWaitSlice.count()) : 1000;
    if (curl_multi_poll(multi_, nullptr, 0, waitMs, nullptr) != CURLM_OK) {
      done_ = true;
      result_ = CURLE_RECV_ERROR;
    }
    if (hooked && !done_) CallWaitHook();
  }
}

std::size_t CurlTransfer::OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  const std::size_t n = size * count;
  const bool wasComplete = t->headers_.complete();
  t->headers_.AddLine(std::string_view(data, n));
  if (!wasComplete && t->headers_.complete() && !t->finalHeaders_) {
    const int status = t->headers_.status();
    const bool interim = status >= 100 && status < 200;
    const bool redirect = t->spec_.followRedirects && status / 100 == 3 && status != 304 &&
                          t->headers_.hasLocation() && t->redirectsSeen_ < kMaxRedirects;
    if (redirect) {
      ++t->redirectsSeen_;
      // On 301, 302 and 303 the platform follows every verb but GET and HEAD
      // as a GET without the body. libcurl does so for a POST, and the lines
      // that described the body must not go with it; any other verb it keeps,
      // so that transfer ends here and a GET of its own follows.
      const bool turnsIntoGet = (status == 301 || status == 302 || status == 303) &&
                                t->spec_.verb != "GET" && t->spec_.verb != "HEAD";
      if (turnsIntoGet && t->spec_.verb == "POST") {
        t->DropBodyHeaders();
      } else if (turnsIntoGet && t->RedirectAsGet()) {
        return 0;  // ends this transfer; Drive starts the GET
      }
    } else if (!interim) {
      t->finalHeaders_ = true;
      if (t->endAtHeaders_) {
        t->done_ = true;
        return 0;  // stops libcurl from waiting for a body
      }
    }
  }
  return n;
}

std::size_t CurlTransfer::OnBody(char* data, std::size_t size, std::size_t count, void* self) {
  auto* t = static_cast<CurlTransfer*>(self);
  const std::size_t n = size * count;
  t->finalHeaders_ = true;
  if (t->Available() > 0 && t->Available() + n > kBodyWindow) {
    t->paused_ = true;
    return CURL_WRITEFUNC_PAUSE;
  }
  if (n > t->spec_.bounds.maxBodyBytes - t->bodyBytes_) return 0;  // too long: the transfer fails
  t->bodyBytes_ += n;
  if (t->readPos_ > 0) {
    t->pending_.erase(0, t->readPos_);
    t->readPos_ = 0;
  }
  t->pending_.append(data, n);
  return n;
}

}  // namespace kelvorat::wininet::curl
