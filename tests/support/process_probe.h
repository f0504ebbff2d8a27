// What a hardening test measures of its own process and of the loopback: the
// descriptors it holds open, its peak memory, and a port that refuses. Read
// from /proc on Linux; the Windows build has its own (support/windows/).
#pragma once

#ifdef _WIN32
#include "support/windows/process_probe_windows.h"
#else

#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace kelvorat::testing {

// libcurl closes a request's connection with it.
inline constexpr int kKeptConnections = 0;

// Descriptors (files, sockets, pipes) this process holds open now.
inline int OpenDescriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int count = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(dir);
  return count - 1;  // the directory's own descriptor
}

// Peak resident size of this process so far, in MiB; -1 when unknown.
inline long PeakResidentMiB() {
  std::ifstream status("/proc/self/status");
  std::string word;
  while (status >> word) {
    if (word == "VmHWM:") {
      long kib = 0;
      status >> kib;
      return kib / 1024;
    }
  }
  return -1;
}

// A loopback port that nothing listens on: connections to it are refused.
inline int RefusingPort() {
  // Bound and closed again without listening: the kernel does not hand the
  // port out again at once, and nothing accepts on it meanwhile.
  const int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
  close(s);
  return ntohs(address.sin_port);
}

}  // namespace kelvorat::testing

#endif
