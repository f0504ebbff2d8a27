// The narrow platform interface the request engine speaks HTTP through: the
// eight WinINet operations it uses, with the arguments and results it relies
// on. The engine links no implementation: each program puts one in place with
// ScopedWinInet, the system's own (system_binding.h, one backend library per
// platform) or, in tests, a recording fake.
#pragma once

#include <cstdint>

namespace kelvorat::wininet {

using HINTERNET = void*;  // opaque handle, null when refused
using DWORD = std::uint32_t;
using INTERNET_PORT = std::uint16_t;

inline constexpr DWORD INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr DWORD INTERNET_OPEN_TYPE_PROXY = 3;
inline constexpr DWORD INTERNET_SERVICE_HTTP = 3;
inline constexpr DWORD INTERNET_OPTION_SECURITY_FLAGS = 31;
inline constexpr DWORD HTTP_QUERY_RAW_HEADERS_CRLF = 22;

inline constexpr DWORD INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr DWORD INTERNET_FLAG_NEED_FILE = 0x00000010;
inline constexpr DWORD INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr DWORD INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr DWORD INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr DWORD INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;

inline constexpr DWORD SECURITY_FLAG_IGNORE_REVOCATION = 0x00000080;
inline constexpr DWORD SECURITY_FLAG_IGNORE_UNKNOWN_CA = 0x00000100;
inline constexpr DWORD SECURITY_FLAG_IGNORE_WRONG_USAGE = 0x00000200;
inline constexpr DWORD SECURITY_FLAG_IGNORE_CERT_CN_INVALID = 0x00001000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_CERT_DATE_INVALID = 0x00002000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x00008000;
inline constexpr DWORD SECURITY_FLAG_IGNORE_WEAK_SIGNATURE = 0x00010000;

class WinInetApi {
 public:
  virtual ~WinInetApi() = default;

  virtual HINTERNET InternetOpenA(const char* agent, DWORD accessType, const char* proxy,
                                  const char* proxyBypass, DWORD flags) = 0;
  virtual HINTERNET InternetConnectA(HINTERNET session, const char* serverName,
                                     INTERNET_PORT serverPort, const char* userName,
                                     const char* password, DWORD service, DWORD flags,
                                     std::uintptr_t context) = 0;
  virtual HINTERNET HttpOpenRequestA(HINTERNET connection, const char* verb,
                                     const char* objectName, const char* version,
                                     const char* referrer, const char** acceptTypes,
                                     DWORD flags, std::uintptr_t context) = 0;
  virtual bool InternetSetOptionA(HINTERNET handle, DWORD option, void* buffer,
                                  DWORD bufferLength) = 0;
  virtual bool HttpSendRequestA(HINTERNET request, const char* headers, DWORD headersLength,
                                void* optional, DWORD optionalLength) = 0;
  virtual bool InternetReadFile(HINTERNET file, void* buffer, DWORD bytesToRead,
                                DWORD* bytesRead) = 0;
  virtual bool HttpQueryInfoA(HINTERNET request, DWORD infoLevel, void* buffer,
                              DWORD* bufferLength, DWORD* index) = 0;
  virtual bool InternetCloseHandle(HINTERNET handle) = 0;
};

// The platform the engine uses now: the one the innermost living ScopedWinInet
// put in place. With none in place every call is refused (null handles, false,
// nothing read), so a request ends empty rather than reaching for a binding
// the program never chose.
WinInetApi& CurrentWinInet();

// Puts api in place of the current platform while the object lives; they nest.
class ScopedWinInet {
 public:
  explicit ScopedWinInet(WinInetApi& api);
  ~ScopedWinInet();
  ScopedWinInet(const ScopedWinInet&) = delete;
  ScopedWinInet& operator=(const ScopedWinInet&) = delete;

 private:
  WinInetApi* previous_;
};

}  // namespace kelvorat::wininet
