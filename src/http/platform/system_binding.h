// The system's own binding of the HTTP platform: libcurl on Linux
// (platform/curl/), wininet.dll on Windows (platform/windows/). Each backend
// library defines it; a program links the one of its platform and puts it in
// place with ScopedWinInet before its first request.
#pragma once

#include "http/platform/wininet.h"

namespace kelvorat::wininet {

[[nodiscard]] WinInetApi& SystemBinding();

}  // namespace kelvorat::wininet
