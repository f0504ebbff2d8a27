// The system's WinINet: the eight functions of wininet.dll, bound by name the
// first time a request needs them. Without the DLL or one of its functions
// every call fails as the platform's own refusal would (null handle, false),
// and the engine returns its empty result.
#include <windows.h>

#include "http/platform/system_binding.h"
#include "http/platform/wininet.h"

namespace kelvorat::wininet {
namespace {

// The functions as wininet.dll exports them. The handle, DWORD and port types
// have the same size and representation as ours (DWORD is 32 bits on Windows).
using WinDword = unsigned long;
static_assert(sizeof(WinDword) == sizeof(DWORD));

using InternetOpenFunction = HINTERNET(WINAPI*)(const char* agent, WinDword accessType, const char* proxy,
                                                const char* proxyBypass, WinDword flags);
using InternetConnectFunction = HINTERNET(WINAPI*)(HINTERNET session, const char* serverName,
                                                   INTERNET_PORT serverPort, const char* userName,
                                                   const char* password, WinDword service, WinDword flags,
                                                   std::uintptr_t context);
using HttpOpenRequestFunction = HINTERNET(WINAPI*)(HINTERNET connection, const char* verb,
                                                   const char* objectName, const char* version,
                                                   const char* referrer, const char** acceptTypes,
                                                   WinDword flags, std::uintptr_t context);
using InternetSetOptionFunction = BOOL(WINAPI*)(HINTERNET handle, WinDword option, void* buffer,
                                                WinDword bufferLength);
using HttpSendRequestFunction = BOOL(WINAPI*)(HINTERNET request, const char* headers, WinDword headersLength,
                                              void* optional, WinDword optionalLength);
using InternetReadFileFunction = BOOL(WINAPI*)(HINTERNET file, void* buffer, WinDword bytesToRead,
                                               WinDword* bytesRead);
using HttpQueryInfoFunction = BOOL(WINAPI*)(HINTERNET request, WinDword infoLevel, void* buffer,
                                            WinDword* bufferLength, WinDword* index);
using InternetCloseHandleFunction = BOOL(WINAPI*)(HINTERNET handle);

template <typename Function>
Function Bind(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

class SystemWinInet final : public WinInetApi {
 public:
  SystemWinInet() {
    // Loaded once for the life of the program, never unloaded.
    const HMODULE module = LoadLibraryW(L"wininet.dll");
    open_ = Bind<InternetOpenFunction>(module, "InternetOpenA");
    connect_ = Bind<InternetConnectFunction>(module, "InternetConnectA");
    openRequest_ = Bind<HttpOpenRequestFunction>(module, "HttpOpenRequestA");
    setOption_ = Bind<InternetSetOptionFunction>(module, "InternetSetOptionA");
    send_ = Bind<HttpSendRequestFunction>(module, "HttpSendRequestA");
    read_ = Bind<InternetReadFileFunction>(module, "InternetReadFile");
    query_ = Bind<HttpQueryInfoFunction>(module, "HttpQueryInfoA");
    close_ = Bind<InternetCloseHandleFunction>(module, "InternetCloseHandle");
  }

  HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy, const char* proxyBypass,
                          DWORD flags) override {
    return open_ == nullptr ? nullptr : open_(agent, accessType, proxy, proxyBypass, flags);
  }

  HINTERNET InternetConnectA(HINTERNET session, const char* serverName, INTERNET_PORT serverPort,
                             const char* userName, const char* password, DWORD service, DWORD flags,
                             std::uintptr_t context) override {
    if (connect_ == nullptr) return nullptr;
    return connect_(session, serverName, serverPort, userName, password, service, flags, context);
  }

  HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb, const char* objectName,
                             const char* version, const char* referrer, const char** acceptTypes,
                             DWORD flags, std::uintptr_t context) override {
    if (openRequest_ == nullptr) return nullptr;
    return openRequest_(connection, verb, objectName, version, referrer, acceptTypes, flags, context);
  }

  bool InternetSetOptionA(HINTERNET handle, DWORD option, void* buffer, DWORD bufferLength) override {
    return setOption_ != nullptr && setOption_(handle, option, buffer, bufferLength) != FALSE;
  }

  bool HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength, void* optional,
                        DWORD optionalLength) override {
    return send_ != nullptr && send_(request, headers, headersLength, optional, optionalLength) != FALSE;
  }

  bool InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead, DWORD* bytesRead) override {
    WinDword count = 0;
    const bool ok = read_ != nullptr && read_(file, buffer, bytesToRead, &count) != FALSE;
    if (bytesRead != nullptr) *bytesRead = static_cast<DWORD>(count);
    return ok;
  }

  bool HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer, DWORD* bufferLength,
                      DWORD* index) override {
    if (query_ == nullptr) return false;
    WinDword length = bufferLength != nullptr ? *bufferLength : 0;
    WinDword at = index != nullptr ? *index : 0;
    const bool ok = query_(request, infoLevel, buffer, bufferLength != nullptr ? &length : nullptr,
                           index != nullptr ? &at : nullptr) != FALSE;
    if (bufferLength != nullptr) *bufferLength = static_cast<DWORD>(length);
    if (index != nullptr) *index = static_cast<DWORD>(at);
    return ok;
  }

  bool InternetCloseHandle(HINTERNET handle) override {
    return close_ != nullptr && close_(handle) != FALSE;
  }

 private:
  InternetOpenFunction open_ = nullptr;
  InternetConnectFunction connect_ = nullptr;
  HttpOpenRequestFunction openRequest_ = nullptr;
  InternetSetOptionFunction setOption_ = nullptr;
  HttpSendRequestFunction send_ = nullptr;
  InternetReadFileFunction read_ = nullptr;
  HttpQueryInfoFunction query_ = nullptr;
  InternetCloseHandleFunction close_ = nullptr;
};

}  // namespace

WinInetApi& SystemBinding() {
  static SystemWinInet api;
  return api;
}

}  // namespace kelvorat::wininet
