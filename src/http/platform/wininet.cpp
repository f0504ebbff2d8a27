// Which platform binding the request engine talks to: the one the program put
// in place, or a binding that refuses everything when there is none.
#include "http/platform/wininet.h"

namespace kelvorat::wininet {
namespace {

// Stands in while no binding is in place: every operation fails at once.
class RefusingWinInet final : public WinInetApi {
 public:
  HINTERNET InternetOpenA(const char*, DWORD, const char*, const char*, DWORD) override { return nullptr; }
  HINTERNET InternetConnectA(HINTERNET, const char*, INTERNET_PORT, const char*, const char*, DWORD, DWORD,
                             std::uintptr_t) override {
    return nullptr;
  }
  HINTERNET HttpOpenRequestA(HINTERNET, const char*, const char*, const char*, const char*, const char**, DWORD,
                             std::uintptr_t) override {
    return nullptr;
  }
  bool InternetSetOptionA(HINTERNET, DWORD, void*, DWORD) override { return false; }
  bool HttpSendRequestA(HINTERNET, const char*, DWORD, void*, DWORD) override { return false; }
  bool InternetReadFile(HINTERNET, void*, DWORD, DWORD* bytesRead) override {
    if (bytesRead != nullptr) *bytesRead = 0;
    return false;
  }
  bool HttpQueryInfoA(HINTERNET, DWORD, void*, DWORD*, DWORD*) override { return false; }
  bool InternetCloseHandle(HINTERNET) override { return false; }
};

// The binding in force, null while none is.
WinInetApi* current = nullptr;

}  // namespace

WinInetApi& CurrentWinInet() {
  static RefusingWinInet refusing;
  return current != nullptr ? *current : refusing;
}

ScopedWinInet::ScopedWinInet(WinInetApi& api) : previous_(current) { current = &api; }

ScopedWinInet::~ScopedWinInet() { current = previous_; }

}  // namespace kelvorat::wininet
