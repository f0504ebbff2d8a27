// The yardstick of the Windows soak: wininet.dll alone, without the program,
// the engine or the binding. It makes the soak's two requests per tick (the
// check and the alert) against the same stand-in, each with its own session,
// connection and request, and prints the working set every 100 ticks in the
// soak tool's format, so that growth of the DLL's own shows beside ours.
//
//     wininet_loop_tool.exe <stand-in port> [ticks]
#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "http/platform/windows/wininet_functions.h"

namespace {

using kelvorat::wininet::HINTERNET;
using kelvorat::wininet::windows::WinDword;

bool Fetch(const kelvorat::wininet::windows::WinInetFunctions& f, int port, const char* target) {
  HINTERNET session = f.open("kelvorat soak yardstick", kelvorat::wininet::INTERNET_OPEN_TYPE_DIRECT, nullptr,
                             nullptr, 0);
  HINTERNET connection = f.connect(session, "127.0.0.1", static_cast<kelvorat::wininet::INTERNET_PORT>(port),
                                   nullptr, nullptr, kelvorat::wininet::INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = f.openRequest(connection, "GET", target, "HTTP/1.1", nullptr, nullptr,
                                    kelvorat::wininet::INTERNET_FLAG_RELOAD, 0);
  bool ok = f.send(request, nullptr, 0, nullptr, 0) != FALSE;
  char buffer[1024];
  WinDword read = 0;
  while (ok && f.read(request, buffer, sizeof buffer, &read) != FALSE && read > 0) {
  }
  f.close(request);
  f.close(connection);
  f.close(session);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <stand-in port> [ticks]\n", argv[0]);
    return 2;
  }
  const int port = std::atoi(argv[1]);
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 2000;
  const auto& f = kelvorat::wininet::windows::SystemFunctions();
  if (f.open == nullptr || f.connect == nullptr || f.openRequest == nullptr || f.send == nullptr ||
      f.read == nullptr || f.close == nullptr) {
    return 1;
  }
  std::printf("%8s %10s %8s\n", "ticks", "ws_kib", "handles");
  for (int tick = 1; tick <= ticks; ++tick) {
    Fetch(f, port, "/k4tq7mbh/wxcheck?url=example.com");
    Fetch(f, port, "/trigger?id=Rb8nQe2&text=%65%78%61%6D%70%6C%65%2E%63%6F%6D%D2%D1%B1%BB%B7%E2%A3%A1");
    if (tick % 100 == 0) {
      PROCESS_MEMORY_COUNTERS memory{};
      GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
      DWORD handles = 0;
      GetProcessHandleCount(GetCurrentProcess(), &handles);
      std::printf("%8d %10zu %8lu\n", tick, static_cast<std::size_t>(memory.WorkingSetSize / 1024),
                  static_cast<unsigned long>(handles));
      std::fflush(stdout);
    }
  }
  return 0;
}
