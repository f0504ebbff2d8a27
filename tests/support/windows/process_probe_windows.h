// The Windows counterparts of the process probe: the handles this process
// holds open (sockets, threads, events, files), its peak working set, and a
// loopback port that refuses.
#pragma once

#include <winsock2.h>
#include <windows.h>
#include <psapi.h>

#include <cstdint>

namespace kelvorat::testing {

// Handles this process holds open now (GetProcessHandleCount). wine's
// answers 0, which no running process has: then every handle value is tried.
inline int OpenDescriptors() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return static_cast<int>(count);
  int found = 0;
  for (std::uintptr_t value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++found;
  }
  return found;
}

// WinINet keeps a finished connection to a server open for the next request
// to it, for as long as it chooses: one handle more or less after a request
// is that connection, not a leak.
inline constexpr int kKeptConnections = 1;

// Peak working set of this process so far, in MiB; -1 when unknown.
inline long PeakResidentMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.PeakWorkingSetSize >> 20);
}

// A loopback port that nothing listens on: connections to it are refused.
inline int RefusingPort() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) return 9;  // the discard port: nothing listens there either
  // Bound and closed again without listening, as on Linux.
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  closesocket(s);
  return ntohs(address.sin_port);
}

}  // namespace kelvorat::testing
