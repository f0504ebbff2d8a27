// URLs of the block-check query and the notification trigger.
#include "monitor/service_urls.h"

#include <utility>

namespace kelvorat {

namespace {
// The account key of the block-check service.
constexpr std::string_view kCheckAccountKey = "k4tq7mbh";

std::string& CheckHost() {
  static std::string host = KELVORAT_CHECK_HOST;
  return host;
}

std::string& NotifyHost() {
  static std::string host = KELVORAT_NOTIFY_HOST;
  return host;
}

}  // namespace

std::string_view CheckServiceHost() { return CheckHost(); }
std::string_view NotifyServiceHost() { return NotifyHost(); }

ScopedServiceHosts::ScopedServiceHosts(std::string checkHost, std::string notifyHost)
    : previousCheck_(std::exchange(CheckHost(), std::move(checkHost))),
      previousNotify_(std::exchange(NotifyHost(), std::move(notifyHost))) {}

ScopedServiceHosts::~ScopedServiceHosts() {
  CheckHost() = std::move(previousCheck_);
  NotifyHost() = std::move(previousNotify_);
}

Text BlockCheckUrl(std::string_view domain) {
  return ConcatText("http://", CheckServiceHost(), "/", kCheckAccountKey, "/wxcheck?url=", domain);
}

Text NotifyTriggerUrl(std::string_view code, std::string_view encodedText) {
  return ConcatText("http://", NotifyServiceHost(), "/trigger?id=", code, "&text=", encodedText);
}

}  // namespace kelvorat
