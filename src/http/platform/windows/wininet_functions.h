// The functions of wininet.dll the Windows binding calls, bound by name the
// first time a request needs them; a function the DLL lacks stays null.
#pragma once

#include <windows.h>

#include <cstdint>

#include "http/platform/wininet.h"

namespace kelvorat::wininet::windows {

// The handle, DWORD and port types have the same size and representation as
// ours (DWORD is 32 bits on Windows).
using WinDword = unsigned long;
static_assert(sizeof(WinDword) == sizeof(DWORD));

// Options and errors of the DLL beyond those of the platform interface.
inline constexpr WinDword kOptionConnectTimeout = 2;
inline constexpr WinDword kOptionSendTimeout = 5;
inline constexpr WinDword kOptionReceiveTimeout = 6;
inline constexpr WinDword kStatusSendingRequest = 30;
inline constexpr WinDword kStatusRequestSent = 31;
inline constexpr WinDword kStatusRedirect = 110;

using StatusCallback = void(CALLBACK*)(HINTERNET handle, std::uintptr_t context, WinDword status, void* info,
                                       WinDword infoLength);

struct WinInetFunctions {
  HINTERNET(WINAPI* open)(const char* agent, WinDword accessType, const char* proxy, const char* proxyBypass,
                          WinDword flags) = nullptr;
  HINTERNET(WINAPI* connect)(HINTERNET session, const char* serverName, INTERNET_PORT serverPort,
                             const char* userName, const char* password, WinDword service, WinDword flags,
                             std::uintptr_t context) = nullptr;
  HINTERNET(WINAPI* openRequest)(HINTERNET connection, const char* verb, const char* objectName,
                                 const char* version, const char* referrer, const char** acceptTypes,
                                 WinDword flags, std::uintptr_t context) = nullptr;
  BOOL(WINAPI* setOption)(HINTERNET handle, WinDword option, void* buffer, WinDword bufferLength) = nullptr;
  BOOL(WINAPI* send)(HINTERNET request, const char* headers, WinDword headersLength, void* optional,
                     WinDword optionalLength) = nullptr;
  BOOL(WINAPI* queryDataAvailable)(HINTERNET file, WinDword* available, WinDword flags,
                                   std::uintptr_t context) = nullptr;
  BOOL(WINAPI* read)(HINTERNET file, void* buffer, WinDword bytesToRead, WinDword* bytesRead) = nullptr;
  BOOL(WINAPI* query)(HINTERNET request, WinDword infoLevel, void* buffer, WinDword* bufferLength,
                      WinDword* index) = nullptr;
  BOOL(WINAPI* close)(HINTERNET handle) = nullptr;
  StatusCallback(WINAPI* setStatusCallback)(HINTERNET handle, StatusCallback callback) = nullptr;
};

// The DLL's functions, loaded once for the life of the program.
const WinInetFunctions& SystemFunctions();

}  // namespace kelvorat::wininet::windows
