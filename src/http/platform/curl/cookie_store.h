// The process-wide cookie store that requests share unless they ask for no
// cookies, as the platform keeps cookies for the whole process.
#pragma once

#include <curl/curl.h>

namespace kelvorat::wininet::curl {

// The libcurl share handle holding the cookies; made on first use, safe to
// use from several threads, kept until the process ends. Null only when
// libcurl could not make it.
CURLSH* SharedCookieStore();

}  // namespace kelvorat::wininet::curl
