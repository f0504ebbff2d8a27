// The two external services the monitor talks to, and how their URLs are built.
#pragma once

#include <string>
#include <string_view>

#include "text/text.h"

namespace kelvorat {

// Host (or host:port) of each service, fixed when the program is built.
[[nodiscard]] std::string_view CheckServiceHost();
[[nodiscard]] std::string_view NotifyServiceHost();

// Points both services at other hosts while the object lives. Only tests and
// benchmarks use it: the program itself has no setting for the hosts.
class ScopedServiceHosts {
 public:
  ScopedServiceHosts(std::string checkHost, std::string notifyHost);
  ~ScopedServiceHosts();
  ScopedServiceHosts(const ScopedServiceHosts&) = delete;
  ScopedServiceHosts& operator=(const ScopedServiceHosts&) = delete;

 private:
  std::string previousCheck_, previousNotify_;
};

// "http://<check host>/k4tq7mbh/wxcheck?url=<domain>", the domain as typed.
[[nodiscard]] Text BlockCheckUrl(std::string_view domain);
// "http://<notify host>/trigger?id=<code>&text=<encodedText>", the code as typed.
[[nodiscard]] Text NotifyTriggerUrl(std::string_view code, std::string_view encodedText);

}  // namespace kelvorat
