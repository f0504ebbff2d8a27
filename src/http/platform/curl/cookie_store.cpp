// The shared cookie store of the libcurl backend.
#include "http/platform/curl/cookie_store.h"

#include <mutex>

namespace kelvorat::wininet::curl {
namespace {

std::mutex& LockFor(curl_lock_data data) {
  static std::mutex cookies, dns, other;
  if (data == CURL_LOCK_DATA_COOKIE) return cookies;
  if (data == CURL_LOCK_DATA_DNS) return dns;
  return other;
}

void Lock(CURL*, curl_lock_data data, curl_lock_access, void*) { LockFor(data).lock(); }
void Unlock(CURL*, curl_lock_data data, void*) { LockFor(data).unlock(); }

class CookieStore {
 public:
  CookieStore() : share_((curl_global_init(CURL_GLOBAL_DEFAULT), curl_share_init())) {
    if (share_ == nullptr) return;
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, Lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, Unlock);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }
  ~CookieStore() {
    if (share_ != nullptr) curl_share_cleanup(share_);
  }
  CookieStore(const CookieStore&) = delete;
  CookieStore& operator=(const CookieStore&) = delete;

  CURLSH* get() const { return share_; }

 private:
  CURLSH* share_;
};

}  // namespace

CURLSH* SharedCookieStore() {
  static CookieStore store;
  return store.get();
}

}  // namespace kelvorat::wininet::curl
