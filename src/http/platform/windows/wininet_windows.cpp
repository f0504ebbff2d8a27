// The system's WinINet (wininet.dll) within the bounds of transfer_bounds.h.
// The DLL's own time-outs are set on every request, but wine's WinINet
// honours only the receive and send ones, follows a redirect loop for ever,
// and no WinINet knows a total time or a body limit. So each request runs its blocking calls (sending, waiting
// for body bytes) on a worker thread, reads the body ahead in pieces, counts
// it, and at a deadline closes the request and shuts its sockets down. A
// bound that ends a request makes it a failed one: reads fail, as they do
// when the connection breaks. Without the DLL or one of its functions every
// call fails as the platform's own refusal would (null handle, false).
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "http/platform/system_binding.h"
#include "http/platform/transfer_bounds.h"
#include "http/platform/wininet.h"
#include "http/platform/windows/request_worker.h"
#include "http/platform/windows/socket_abort.h"
#include "http/platform/windows/wininet_functions.h"

namespace kelvorat::wininet {
namespace {

using windows::RequestWorker;
using windows::WinDword;
using windows::WinInetFunctions;
using Clock = RequestWorker::Clock;

// Body bytes taken from the DLL in one piece at most.
constexpr WinDword kReadAheadBytes = 64 * 1024;
// How much longer than the DLL's own receive time-out a wait for body bytes
// may last before the binding ends it itself.
constexpr std::chrono::seconds kIdleSlack{1};
constexpr WinDword kNulTerminated = 0xFFFFFFFF;
// Redirects followed in one request before it ends as failed, as on Linux.
constexpr int kMaxRedirects = 10;

// Counts a request's redirects from the DLL's status reports (which come on
// the thread of the blocked call); past the limit it breaks every connection
// the request makes, so that the call fails.
struct RedirectGuard {
  std::vector<std::uint16_t> ports;
  std::atomic<int> redirects{0};

  static void CALLBACK OnStatus(HINTERNET, std::uintptr_t context, WinDword status, void*, WinDword) {
    if (context == 0) return;
    auto* guard = reinterpret_cast<RedirectGuard*>(context);
    if (status == windows::kStatusRedirect) ++guard->redirects;
    if (guard->redirects > kMaxRedirects &&
        (status == windows::kStatusRedirect || status == windows::kStatusSendingRequest ||
         status == windows::kStatusRequestSent)) {
      windows::ShutDownSocketsTo(guard->ports);
    }
  }
};

// One request as the binding follows it. Touched by the calling thread only;
// the worker's jobs get copies of what they need.
struct RequestState {
  std::vector<std::uint16_t> ports;  // the server's and the proxy's, for the sockets
  // The DLL's status reports carry its address: it lives as long as the
  // request and any job that still runs for it.
  std::shared_ptr<RedirectGuard> redirects = std::make_shared<RedirectGuard>();
  std::unique_ptr<RequestWorker> worker;
  TransferBounds bounds;
  Clock::time_point deadline;
  bool sent = false;         // the response's headers are in
  bool failed = false;       // a bound or the network ended it: no more body
  bool ended = false;        // the whole body has been read
  bool systemClosed = false; // closed by an abort: the value must not be used again
  std::string ahead;         // body bytes read ahead, not yet handed out
  std::size_t aheadPos = 0;
  std::size_t bodyBytes = 0;
};

struct Node {
  enum class Kind { kSession, kConnection, kRequest } kind;
  HINTERNET system = nullptr;
  std::uintptr_t parent = 0;
  std::vector<std::uintptr_t> children;
  std::vector<std::uint16_t> ports;  // session: proxy ports; connection: + the server's
  std::unique_ptr<RequestState> request;
  std::mutex busy;  // one operation on a handle at a time
};

// True when the response began with an HTTP status line. WinINet takes an
// answer without one for an old HTTP/0.9 body and makes up this header block
// for it (no header line at all, which no service of this program sends);
// like the libcurl binding, this one takes such an answer for none.
bool StartsWithStatusLine(decltype(WinInetFunctions::query) query, HINTERNET system) {
  if (query == nullptr) return false;
  std::string headers(64, '\0');
  WinDword length = static_cast<WinDword>(headers.size());
  if (query(system, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr) == FALSE) {
    if (length <= headers.size()) return false;
    headers.resize(length);
    if (query(system, HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr) == FALSE) return false;
  }
  headers.resize(std::min<std::size_t>(length, headers.size()));
  return headers.compare(0, 5, "HTTP/") == 0 && headers != "HTTP/1.0 200 OK\r\n\r\n";
}

// The ports a proxy list names ("http=host:port https=host:port", "host:port").
std::vector<std::uint16_t> ProxyPorts(const char* proxy) {
  std::vector<std::uint16_t> ports;
  if (proxy == nullptr) return ports;
  std::string text(proxy);
  std::replace(text.begin(), text.end(), ';', ' ');
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find(' ', at);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(at, end - at);
    const std::size_t colon = item.rfind(':');
    if (colon != std::string::npos && colon + 1 < item.size() && item.size() - colon <= 6 &&
        item.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
      const unsigned long port = std::stoul(item.substr(colon + 1));
      if (port > 0 && port < 65536) ports.push_back(static_cast<std::uint16_t>(port));
    }
    at = end + 1;
  }
  return ports;
}

// Handle values are never reused, so a stale handle can never reach a newer
// request; closing a parent closes its children as well.
class HandleTable {
 public:
  HINTERNET Add(std::uintptr_t parent, std::shared_ptr<Node> node) {
    node->parent = parent;
    std::lock_guard lock(mutex_);
    const std::uintptr_t id = next_++;
    if (parent != 0) {
      auto it = nodes_.find(parent);
      if (it == nodes_.end()) return nullptr;
      it->second->children.push_back(id);
    }
    nodes_.emplace(id, std::move(node));
    return reinterpret_cast<HINTERNET>(id);
  }

  std::shared_ptr<Node> Find(HINTERNET value, Node::Kind kind) {
    std::lock_guard lock(mutex_);
    auto it = nodes_.find(reinterpret_cast<std::uintptr_t>(value));
    if (it == nodes_.end() || it->second->kind != kind) return nullptr;
    return it->second;
  }

  // Takes the handle and its descendants out of the table, children first.
  std::vector<std::shared_ptr<Node>> Remove(HINTERNET value) {
    std::vector<std::shared_ptr<Node>> removed;
    std::lock_guard lock(mutex_);
    const auto id = reinterpret_cast<std::uintptr_t>(value);
    auto it = nodes_.find(id);
    if (it == nodes_.end()) return removed;
    if (auto parent = nodes_.find(it->second->parent); parent != nodes_.end()) {
      std::erase(parent->second->children, id);
    }
    std::vector<std::uintptr_t> pending{id};
    while (!pending.empty()) {
      auto found = nodes_.find(pending.back());
      pending.pop_back();
      if (found == nodes_.end()) continue;
      pending.insert(pending.end(), found->second->children.begin(), found->second->children.end());
      removed.push_back(std::move(found->second));
      nodes_.erase(found);
    }
    std::reverse(removed.begin(), removed.end());
    return removed;
  }

 private:
  std::mutex mutex_;
  std::unordered_map<std::uintptr_t, std::shared_ptr<Node>> nodes_;
  std::uintptr_t next_ = 0x1000;
};

class SystemWinInet final : public WinInetApi {
 public:
  explicit SystemWinInet(const WinInetFunctions& f) : f_(f) {}

  HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy, const char* proxyBypass,
                          DWORD flags) override {
    if (f_.open == nullptr) return nullptr;
    HINTERNET system = f_.open(agent, accessType, proxy, proxyBypass, flags);
    if (system == nullptr) return nullptr;
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::kSession;
    node->system = system;
    if (accessType == INTERNET_OPEN_TYPE_PROXY) node->ports = ProxyPorts(proxy);
    return Keep(0, std::move(node));
  }

  HINTERNET InternetConnectA(HINTERNET session, const char* serverName, INTERNET_PORT serverPort,
                             const char* userName, const char* password, DWORD service, DWORD flags,
                             std::uintptr_t context) override {
    std::shared_ptr<Node> parent = table_.Find(session, Node::Kind::kSession);
    if (!parent || f_.connect == nullptr) return nullptr;
    HINTERNET system =
        f_.connect(parent->system, serverName, serverPort, userName, password, service, flags, context);
    if (system == nullptr) return nullptr;
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::kConnection;
    node->system = system;
    node->ports = parent->ports;
    node->ports.push_back(serverPort);
    return Keep(reinterpret_cast<std::uintptr_t>(session), std::move(node));
  }

  HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* objectName, const char* version,
                             const char* referrer, const char** acceptTypes, DWORD flags,
                             std::uintptr_t context) override {
    std::shared_ptr<Node> parent = table_.Find(connection, Node::Kind::kConnection);
    if (!parent || f_.openRequest == nullptr) return nullptr;
    auto request = std::make_unique<RequestState>();
    request->ports = parent->ports;
    // Port 0 is the scheme's default port.
    if (request->ports.back() == 0) request->ports.back() = (flags & INTERNET_FLAG_SECURE) != 0 ? 443 : 80;
    request->redirects->ports = request->ports;
    // The context is the binding's own (the engine passes none): the DLL
    // reports its progress only on a request that has one.
    (void)context;
    HINTERNET system = f_.openRequest(parent->system, verb, objectName, version, referrer, acceptTypes, flags,
                                      reinterpret_cast<std::uintptr_t>(request->redirects.get()));
    if (system == nullptr) return nullptr;
    if (f_.setStatusCallback != nullptr) f_.setStatusCallback(system, &RedirectGuard::OnStatus);
    auto node = std::make_shared<Node>();
    node->kind = Node::Kind::kRequest;
    node->system = system;
    node->request = std::move(request);
    return Keep(reinterpret_cast<std::uintptr_t>(connection), std::move(node));
  }

  bool InternetSetOptionA(HINTERNET handle, DWORD option, void* buffer, DWORD bufferLength) override {
    std::shared_ptr<Node> node = FindAny(handle);
    if (!node || f_.setOption == nullptr) return false;
    std::lock_guard lock(node->busy);
    if (node->request && node->request->systemClosed) return false;
    return f_.setOption(node->system, option, buffer, bufferLength) != FALSE;
  }

  bool HttpSendRequestA(HINTERNET handle, const char* headers, DWORD headersLength, void* optional,
                        DWORD optionalLength) override {
    std::shared_ptr<Node> node = table_.Find(handle, Node::Kind::kRequest);
    if (!node || f_.send == nullptr) return false;
    std::lock_guard lock(node->busy);
    RequestState& request = *node->request;
    if (request.systemClosed) return false;
    request.bounds = CurrentTransferBounds();
    request.deadline = Clock::now() + request.bounds.total;
    request.sent = request.failed = request.ended = false;
    request.ahead.clear();
    request.aheadPos = request.bodyBytes = 0;
    SetTimeouts(node->system, request.bounds);
    if (!request.worker) request.worker = std::make_unique<RequestWorker>();

    // Copies: a job given up on may still be reading them after the caller moved on.
    auto block = std::make_shared<std::string>();
    if (headers != nullptr) {
      *block = headersLength == kNulTerminated ? std::string(headers) : std::string(headers, headersLength);
    }
    auto body = std::make_shared<std::string>();
    if (optional != nullptr) body->assign(static_cast<const char*>(optional), optionalLength);
    auto sent = std::make_shared<bool>(false);
    std::shared_ptr<RedirectGuard> guard = request.redirects;
    guard->redirects = 0;
    const auto send = f_.send;
    const auto query = f_.query;
    HINTERNET system = node->system;
    const bool hasHeaders = headers != nullptr;
    const bool hasBody = optional != nullptr;
    const RequestWorker::Outcome outcome = request.worker->Run(
        [=] {
          (void)guard;  // kept alive for the DLL's reports while the call runs
          *sent = send(system, hasHeaders ? block->c_str() : nullptr, static_cast<WinDword>(block->size()),
                       hasBody ? body->data() : nullptr, static_cast<WinDword>(body->size())) != FALSE &&
                  StartsWithStatusLine(query, system);
        },
        request.deadline, [&] { Abort(*node); });
    request.sent = outcome == RequestWorker::Outcome::kDone && *sent;
    request.failed = !request.sent;
    return request.sent;
  }

  bool InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) override {
    if (bytesRead != nullptr) *bytesRead = 0;
    if (bytesRead == nullptr || (buffer == nullptr && bytesToRead > 0)) return false;
    std::shared_ptr<Node> node = table_.Find(file, Node::Kind::kRequest);
    if (!node) return false;
    std::lock_guard lock(node->busy);
    RequestState& request = *node->request;
    if (request.aheadPos == request.ahead.size() && request.sent && !request.failed && !request.ended) {
      ReadAhead(*node);
    }
    if (!request.sent || request.failed) return false;
    const std::size_t count = std::min<std::size_t>(bytesToRead, request.ahead.size() - request.aheadPos);
    if (count > 0) std::memcpy(buffer, request.ahead.data() + request.aheadPos, count);
    request.aheadPos += count;
    *bytesRead = static_cast<DWORD>(count);
    return true;
  }

  bool HttpQueryInfoA(HINTERNET handle, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                      DWORD* index) override {
    std::shared_ptr<Node> node = table_.Find(handle, Node::Kind::kRequest);
    if (!node || f_.query == nullptr) return false;
    std::lock_guard lock(node->busy);
    // No headers came, or the request was ended before they were all in.
    if (!node->request->sent || node->request->systemClosed) return false;
    WinDword length = bufferLength != nullptr ? *bufferLength : 0;
    WinDword at = index != nullptr ? *index : 0;
    const bool ok = f_.query(node->system, infoLevel, buffer, bufferLength != nullptr ? &length : nullptr,
                             index != nullptr ? &at : nullptr) != FALSE;
    if (bufferLength != nullptr) *bufferLength = static_cast<DWORD>(length);
    if (index != nullptr) *index = static_cast<DWORD>(at);
    return ok;
  }

  bool InternetCloseHandle(HINTERNET handle) override {
    std::vector<std::shared_ptr<Node>> removed = table_.Remove(handle);
    if (removed.empty()) return false;
    for (const std::shared_ptr<Node>& node : removed) {
      std::lock_guard lock(node->busy);
      if (node->request) {
        node->request->worker.reset();  // ends the worker before its handle goes
        if (node->request->systemClosed) continue;
      }
      if (f_.close != nullptr) f_.close(node->system);
    }
    return true;
  }

 private:
  HINTERNET Keep(std::uintptr_t parent, std::shared_ptr<Node> node) {
    HINTERNET system = node->system;
    HINTERNET value = table_.Add(parent, std::move(node));
    if (value == nullptr && f_.close != nullptr) f_.close(system);  // the parent was closed meanwhile
    return value;
  }

  std::shared_ptr<Node> FindAny(HINTERNET value) {
    for (Node::Kind kind : {Node::Kind::kRequest, Node::Kind::kConnection, Node::Kind::kSession}) {
      if (std::shared_ptr<Node> node = table_.Find(value, kind)) return node;
    }
    return nullptr;
  }

  // The DLL's own time-outs, on the request itself: wine takes them only
  // there (the session's are not passed on to its requests).
  void SetTimeouts(HINTERNET system, const TransferBounds& bounds) {
    if (f_.setOption == nullptr) return;
    const auto milliseconds = [](auto duration) {
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(duration).count();
      return static_cast<WinDword>(std::clamp<long long>(ms, 1, 0x7FFFFFFF));
    };
    WinDword connect = milliseconds(bounds.connect);
    WinDword idle = milliseconds(bounds.idle);
    f_.setOption(system, windows::kOptionConnectTimeout, &connect, sizeof connect);
    f_.setOption(system, windows::kOptionSendTimeout, &idle, sizeof idle);
    f_.setOption(system, windows::kOptionReceiveTimeout, &idle, sizeof idle);
  }

  // Ends a blocked call on the request from this thread: closing the handle
  // does it on Windows, shutting the sockets down does it under wine.
  void Abort(Node& node) {
    RequestState& request = *node.request;
    windows::ShutDownSocketsTo(request.ports);
    if (!request.systemClosed && f_.close != nullptr) f_.close(node.system);
    request.systemClosed = true;
  }

  // Waits for the next body bytes: as many as are there, up to a piece. Ends
  // the request as failed when the wait outlasts the bounds, the network
  // fails, or the body grows past its limit.
  void ReadAhead(Node& node) {
    RequestState& request = *node.request;
    request.ahead.clear();
    request.aheadPos = 0;
    if (f_.queryDataAvailable == nullptr || f_.read == nullptr) {
      request.failed = true;
      return;
    }
    struct Piece {
      bool ok = false;
      std::string bytes;
    };
    auto piece = std::make_shared<Piece>();
    const auto available = f_.queryDataAvailable;
    const auto read = f_.read;
    HINTERNET system = node.system;
    const RequestWorker::Outcome outcome = request.worker->Run(
        [=] {
          WinDword count = 0;
          if (available(system, &count, 0, 0) == FALSE) return;
          piece->bytes.resize(std::min(count, kReadAheadBytes));
          WinDword got = 0;
          if (count > 0 && read(system, piece->bytes.data(), static_cast<WinDword>(piece->bytes.size()), &got) == FALSE) {
            return;
          }
          piece->bytes.resize(std::min<std::size_t>(got, piece->bytes.size()));
          piece->ok = true;
        },
        std::min(request.deadline, Clock::now() + request.bounds.idle + kIdleSlack), [&] { Abort(node); });
    if (outcome != RequestWorker::Outcome::kDone || !piece->ok) {
      request.failed = true;
      return;
    }
    request.bodyBytes += piece->bytes.size();
    if (request.bodyBytes > request.bounds.maxBodyBytes) {
      request.failed = true;
      return;
    }
    request.ended = piece->bytes.empty();
    request.ahead = std::move(piece->bytes);
  }

  const WinInetFunctions& f_;
  HandleTable table_;
};

}  // namespace

WinInetApi& SystemBinding() {
  static SystemWinInet api(windows::SystemFunctions());
  return api;
}

}  // namespace kelvorat::wininet
