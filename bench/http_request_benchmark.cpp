// Cost of reading a response body through the request engine as the body
// grows: the 1024-byte pieces must be gathered in amortized constant time, so
// the time per byte stays flat (the reported complexity is O(N)).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>

#include "http/http_request.h"
#include "http/platform/wininet.h"

namespace kelvorat {
namespace {

using namespace wininet;

// A platform that accepts everything and serves a body of a set size.
class BodyServer : public WinInetApi {
 public:
  explicit BodyServer(std::size_t size) : body_(size, 'x') {}

  HINTERNET InternetOpenA(const char*, DWORD, const char*, const char*, DWORD) override {
    return this;
  }
  HINTERNET InternetConnectA(HINTERNET, const char*, INTERNET_PORT, const char*, const char*,
                             DWORD, DWORD, std::uintptr_t) override {
    return this;
  }
  HINTERNET HttpOpenRequestA(HINTERNET, const char*, const char*, const char*, const char*,
                             const char**, DWORD, std::uintptr_t) override {
    offset_ = 0;
    return this;
  }
  bool InternetSetOptionA(HINTERNET, DWORD, void*, DWORD) override { return true; }
  bool HttpSendRequestA(HINTERNET, const char*, DWORD, void*, DWORD) override { return true; }
  bool InternetReadFile(HINTERNET, void* buffer, DWORD bytesToRead, DWORD* bytesRead) override {
    const std::size_t count = std::min<std::size_t>(bytesToRead, body_.size() - offset_);
    std::memcpy(buffer, body_.data() + offset_, count);
    offset_ += count;
    *bytesRead = static_cast<DWORD>(count);
    return true;
  }
  bool HttpQueryInfoA(HINTERNET, DWORD, void* buffer, DWORD*, DWORD*) override {
    std::memcpy(buffer, "HTTP/1.1 200 OK\r\n\r\n", 20);
    return true;
  }
  bool InternetCloseHandle(HINTERNET) override { return true; }

 private:
  std::string body_;
  std::size_t offset_ = 0;
};

void BM_ReadBody(benchmark::State& state) {
  const auto size = static_cast<std::size_t>(state.range(0));
  BodyServer server(size);
  ScopedWinInet use(server);
  for (auto _ : state) {
    Bytes body = HttpRequest("http://example.com/big");
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadBody)->RangeMultiplier(4)->Range(16 << 10, 16 << 20)->Complexity();

}  // namespace
}  // namespace kelvorat

BENCHMARK_MAIN();
