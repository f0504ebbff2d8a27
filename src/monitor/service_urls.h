// The two external services the monitor talks to, and how their URLs are built.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace kelvorat {

// Host (or host:port) of each service. The program passes the ones fixed when
// it was built; tests and the soak tool pass loopback stand-ins.
struct ServiceHosts {
  std::string check;
  std::string notify;
};

// "http://<checkHost>/k4tq7mbh/wxcheck?url=<domain>", the domain as typed.
[[nodiscard]] Text BlockCheckUrl(std::string_view checkHost, std::string_view domain);
// "http://<notifyHost>/trigger?id=<code>&text=<encodedText>", the code as typed.
[[nodiscard]] Text NotifyTriggerUrl(std::string_view notifyHost, std::string_view code,
                                    std::string_view encodedText);

}  // namespace kelvorat
