// URLs of the block-check query and the notification trigger.
#include "monitor/service_urls.h"

namespace kelvorat {

namespace {
// The account key of the block-check service.
constexpr std::string_view kCheckAccountKey = "k4tq7mbh";
}  // namespace

std::string_view CheckServiceHost() { return KELVORAT_CHECK_HOST; }
std::string_view NotifyServiceHost() { return KELVORAT_NOTIFY_HOST; }

Text BlockCheckUrl(std::string_view domain) {
  return ConcatText("http://", CheckServiceHost(), "/", kCheckAccountKey, "/wxcheck?url=", domain);
}

Text NotifyTriggerUrl(std::string_view code, std::string_view encodedText) {
  return ConcatText("http://", NotifyServiceHost(), "/trigger?id=", code, "&text=", encodedText);
}

}  // namespace kelvorat
