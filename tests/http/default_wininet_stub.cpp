// Stand-in for the system binding while none is linked: these tests always put
// the recording platform in place, so reaching this is a test fault.
#include <cstdlib>

#include "http/platform/wininet.h"

namespace kelvorat::wininet {

WinInetApi& DefaultWinInet() { std::abort(); }

}  // namespace kelvorat::wininet
