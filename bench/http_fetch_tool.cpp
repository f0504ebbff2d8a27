// Fetches a URL with HttpRequest over the system's platform binding, as the
// program does. Prints the number of body bytes. Usage: http_fetch_tool URL
#include <cstdio>

#include "http/http_request.h"
#include "http/platform/system_binding.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s URL\n", argv[0]);
    return 2;
  }
  const kelvorat::wininet::ScopedWinInet system(kelvorat::wininet::SystemBinding());
  const kelvorat::Bytes body = kelvorat::HttpRequest(argv[1]);
  std::printf("%zu\n", body.size());
  return body.empty() ? 1 : 0;
}
