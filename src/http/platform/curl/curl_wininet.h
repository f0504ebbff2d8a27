// The libcurl binding of the WinINet platform (SystemBinding() on Linux).
// Its transfers run within the bounds of http/platform/transfer_bounds.h.
#pragma once

#include "http/platform/transfer_bounds.h"
#include "http/platform/wininet.h"
