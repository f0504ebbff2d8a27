// The WinINet operations over libcurl: a tree of handles (session, connection,
// request) kept in a process-wide table, each request running one transfer.
#include "http/platform/curl/curl_wininet.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "http/platform/curl/curl_transfer.h"
#include "http/platform/curl/proxy_text.h"
#include "http/platform/curl/request_headers.h"
#include "http/platform/curl/request_target.h"
#include "http/platform/system_binding.h"

namespace kelvorat::wininet {
namespace {

// Access types that take the proxy settings of the system (here: libcurl's
// environment variables).
constexpr DWORD kOpenTypePreconfig = 0;
constexpr DWORD kOpenTypePreconfigNoAutoproxy = 4;
// A request flag with the same meaning as the security flag of that value.
constexpr DWORD kFlagIgnoreCertCnInvalid = 0x00001000;
// A header length meaning "up to the terminating NUL".
constexpr DWORD kNulTerminated = 0xFFFFFFFF;

struct Session {
  std::optional<std::string> agent;
  DWORD accessType = INTERNET_OPEN_TYPE_DIRECT;
  std::string proxy;
  std::string bypass;
};

struct Connection {
  Session session;
  std::string host;
  INTERNET_PORT port = 0;
};

struct Request {
  Connection connection;
  std::string verb;
  std::string path;
  bool http10 = false;
  DWORD flags = 0;
  DWORD securityFlags = 0;
  std::unique_ptr<curl::CurlTransfer> transfer;
};

struct Handle {
  std::uintptr_t parent = 0;
  std::vector<std::uintptr_t> children;
  std::variant<Session, Connection, Request> data;
  std::mutex busy;  // one operation on a handle at a time
};

// Handle values are never reused, so a stale handle can never reach a newer
// object; closing a parent closes its children as well.
class HandleTable {
 public:
  HINTERNET Add(std::uintptr_t parent, std::variant<Session, Connection, Request> data) {
    auto handle = std::make_shared<Handle>();
    handle->parent = parent;
    handle->data = std::move(data);
    std::lock_guard lock(mutex_);
    const std::uintptr_t id = next_++;
    if (parent != 0) {
      auto it = handles_.find(parent);
      if (it == handles_.end()) return nullptr;  // the parent was closed meanwhile
      it->second->children.push_back(id);
    }
    handles_.emplace(id, std::move(handle));
    return reinterpret_cast<HINTERNET>(id);
  }

  template <typename Kind>
  std::shared_ptr<Handle> Find(HINTERNET value) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(reinterpret_cast<std::uintptr_t>(value));
    if (it == handles_.end() || !std::holds_alternative<Kind>(it->second->data)) return nullptr;
    return it->second;
  }

  bool Close(HINTERNET value) {
    std::vector<std::shared_ptr<Handle>> closed;  // released outside the lock
    {
      std::lock_guard lock(mutex_);
      const auto id = reinterpret_cast<std::uintptr_t>(value);
      auto it = handles_.find(id);
      if (it == handles_.end()) return false;
      if (auto parent = handles_.find(it->second->parent); parent != handles_.end()) {
        std::erase(parent->second->children, id);
      }
      std::vector<std::uintptr_t> pending{id};
      while (!pending.empty()) {
        auto found = handles_.find(pending.back());
        pending.pop_back();
        if (found == handles_.end()) continue;
        pending.insert(pending.end(), found->second->children.begin(),
                       found->second->children.end());
        closed.push_back(std::move(found->second));
        handles_.erase(found);
      }
    }
    return true;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::uintptr_t, std::shared_ptr<Handle>> handles_;
  std::uintptr_t next_ = 0x1000;
};

bool IsTokenByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
         std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

class CurlWinInet final : public WinInetApi {
 public:
  CurlWinInet() { curl_global_init(CURL_GLOBAL_DEFAULT); }

  HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                          const char* proxyBypass, DWORD /*flags*/) override {
    Session session;
    // The agent goes out as a header line: a line break in it must not end
    // that line early or add a header of its own.
    if (agent != nullptr) session.agent = curl::OneHeaderLine(agent);
    session.accessType = accessType;
    switch (accessType) {
      case INTERNET_OPEN_TYPE_DIRECT:
      case kOpenTypePreconfig:
      case kOpenTypePreconfigNoAutoproxy:
        break;
      case INTERNET_OPEN_TYPE_PROXY:
        if (proxy == nullptr || *proxy == '\0') return nullptr;
        session.proxy = proxy;
        if (proxyBypass != nullptr) session.bypass = proxyBypass;
        break;
      default:
        return nullptr;
    }
    return table_.Add(0, std::move(session));
  }

  HINTERNET InternetConnectA(HINTERNET session, const char* serverName, INTERNET_PORT serverPort,
                             const char* /*userName*/, const char* /*password*/, DWORD service,
                             DWORD /*flags*/, std::uintptr_t /*context*/) override {
    if (service != INTERNET_SERVICE_HTTP || serverName == nullptr || *serverName == '\0') {
      return nullptr;
    }
    std::shared_ptr<Handle> parent = table_.Find<Session>(session);
    if (!parent) return nullptr;
    Connection connection;
    connection.session = std::get<Session>(parent->data);
    connection.host = serverName;
    connection.port = serverPort;
    return table_.Add(reinterpret_cast<std::uintptr_t>(session), std::move(connection));
  }

  HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* objectName,
                             const char* version, const char* /*referrer*/,
                             const char** /*acceptTypes*/, DWORD flags,
                             std::uintptr_t /*context*/) override {
    std::shared_ptr<Handle> parent = table_.Find<Connection>(connection);
    if (!parent) return nullptr;
    Request request;
    request.connection = std::get<Connection>(parent->data);
    request.verb = verb != nullptr && *verb != '\0' ? verb : "GET";
    // The verb heads the request line: anything but a token could split it.
    for (unsigned char c : request.verb) {
      if (!IsTokenByte(c)) return nullptr;
    }
    request.path = objectName != nullptr ? objectName : "/";
    request.http10 = version != nullptr && std::strcmp(version, "HTTP/1.0") == 0;
    request.flags = flags;
    return table_.Add(reinterpret_cast<std::uintptr_t>(connection), std::move(request));
  }

  bool InternetSetOptionA(HINTERNET handle, DWORD option, void* buffer,
                          DWORD bufferLength) override {
    if (option != INTERNET_OPTION_SECURITY_FLAGS || buffer == nullptr ||
        bufferLength < sizeof(DWORD)) {
      return false;
    }
    std::shared_ptr<Handle> found = table_.Find<Request>(handle);
    if (!found) return false;
    std::lock_guard lock(found->busy);
    std::memcpy(&std::get<Request>(found->data).securityFlags, buffer, sizeof(DWORD));
    return true;
  }

  bool HttpSendRequestA(HINTERNET handle, const char* headers, DWORD headersLength,
                        void* optional, DWORD optionalLength) override {
    std::shared_ptr<Handle> found = table_.Find<Request>(handle);
    if (!found) return false;
    std::lock_guard lock(found->busy);
    Request& request = std::get<Request>(found->data);
    request.transfer.reset();

    const bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
    const Connection& connection = request.connection;
    std::optional<std::string> url =
        curl::RequestUrl(secure, connection.host, connection.port, request.path);
    if (!url) return false;

    std::string_view block;
    if (headers != nullptr) {
      block = headersLength == kNulTerminated ? std::string_view(headers)
                                              : std::string_view(headers, headersLength);
    }
    curl::TransferSpec spec;
    spec.url = std::move(*url);
    spec.verb = request.verb;
    spec.http10 = request.http10;
    spec.agent = connection.session.agent;
    if (optional != nullptr && optionalLength > 0) {
      spec.body.emplace(static_cast<const char*>(optional), optionalLength);
    }
    const bool sendsBody = spec.verb == "POST" || (spec.verb != "GET" && spec.body.has_value());
    spec.headerLines = curl::CurlHeaderLines(block, sendsBody);
    switch (connection.session.accessType) {
      case INTERNET_OPEN_TYPE_PROXY:
        spec.proxy = curl::ProxyForScheme(connection.session.proxy, secure);
        spec.noProxy = curl::NoProxyList(connection.session.bypass);
        break;
      case INTERNET_OPEN_TYPE_DIRECT:
        spec.proxy = std::string();
        break;
      default:
        spec.proxy.reset();
    }
    spec.useCookies = (request.flags & INTERNET_FLAG_NO_COOKIES) == 0;
    spec.followRedirects = (request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0;
    spec.verifyPeer = (request.securityFlags & SECURITY_FLAG_IGNORE_UNKNOWN_CA) == 0;
    spec.verifyHost = (request.securityFlags & SECURITY_FLAG_IGNORE_CERT_CN_INVALID) == 0 &&
                      (request.flags & kFlagIgnoreCertCnInvalid) == 0;
    spec.bounds = CurrentTransferBounds();

    request.transfer = std::make_unique<curl::CurlTransfer>(std::move(spec));
    return request.transfer->Start();
  }

  bool InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead,
                        DWORD* bytesRead) override {
    if (bytesRead == nullptr) return false;
    *bytesRead = 0;
    if (buffer == nullptr && bytesToRead > 0) return false;
    std::shared_ptr<Handle> found = table_.Find<Request>(file);
    if (!found) return false;
    std::lock_guard lock(found->busy);
    Request& request = std::get<Request>(found->data);
    if (!request.transfer) return false;
    std::size_t count = 0;
    const bool ok = request.transfer->Read(static_cast<char*>(buffer), bytesToRead, &count);
    *bytesRead = static_cast<DWORD>(count);
    return ok;
  }

  bool HttpQueryInfoA(HINTERNET handle, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                      DWORD* /*index*/) override {
    if (infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF || bufferLength == nullptr) return false;
    std::shared_ptr<Handle> found = table_.Find<Request>(handle);
    if (!found) return false;
    std::lock_guard lock(found->busy);
    Request& request = std::get<Request>(found->data);
    if (!request.transfer || !request.transfer->headersArrived()) return false;
    const std::string& block = request.transfer->headers().block();
    const std::size_t needed = block.size() + 1;
    if (buffer == nullptr || *bufferLength < needed) {
      *bufferLength = static_cast<DWORD>(needed);
      return false;
    }
    std::memcpy(buffer, block.c_str(), needed);
    *bufferLength = static_cast<DWORD>(block.size());
    return true;
  }

  bool InternetCloseHandle(HINTERNET handle) override { return table_.Close(handle); }

 private:
  HandleTable table_;
};

}  // namespace

WinInetApi& SystemBinding() {
  static CurlWinInet instance;
  return instance;
}

}  // namespace kelvorat::wininet
