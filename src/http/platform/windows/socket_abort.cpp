// Sockets are handles: every handle value of the process is tried as one.
#include "http/platform/windows/socket_abort.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>

namespace kelvorat::wininet::windows {
namespace {

// Handle values tried: well above what this program ever holds open.
constexpr std::uintptr_t kLastHandleValue = 0x4000;

}  // namespace

int ShutDownSocketsTo(const std::vector<std::uint16_t>& ports) {
  // Once for the program, never cleaned up: the sockets belong to WinINet,
  // which has started Winsock itself; this only makes the calls safe.
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started || ports.empty()) return 0;
  int shut = 0;
  for (std::uintptr_t value = 4; value < kLastHandleValue; value += 4) {
    DWORD flags = 0;
    if (!GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) continue;
    const auto s = static_cast<SOCKET>(value);
    int type = 0;
    int length = sizeof type;
    if (getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &length) != 0 || type != SOCK_STREAM) {
      continue;
    }
    sockaddr_storage peer{};
    int peerLength = sizeof peer;
    if (getpeername(s, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0) continue;
    std::uint16_t port = 0;
    if (peer.ss_family == AF_INET) port = ntohs(reinterpret_cast<const sockaddr_in&>(peer).sin_port);
    if (peer.ss_family == AF_INET6) port = ntohs(reinterpret_cast<const sockaddr_in6&>(peer).sin6_port);
    if (std::find(ports.begin(), ports.end(), port) == ports.end()) continue;
    if (shutdown(s, SD_BOTH) == 0) ++shut;
  }
  return shut;
}

}  // namespace kelvorat::wininet::windows
