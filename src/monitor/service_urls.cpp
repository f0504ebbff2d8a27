// URLs of the block-check query and the notification trigger.
#include "monitor/service_urls.h"

namespace kelvorat {

namespace {
// The account key of the block-check service.
constexpr std::string_view kCheckAccountKey = "k4tq7mbh";
}  // namespace

Text BlockCheckUrl(std::string_view checkHost, std::string_view domain) {
  return ConcatText("http://", checkHost, "/", kCheckAccountKey, "/wxcheck?url=", domain);
}

Text NotifyTriggerUrl(std::string_view notifyHost, std::string_view code, std::string_view encodedText) {
  return ConcatText("http://", notifyHost, "/trigger?id=", code, "&text=", encodedText);
}

}  // namespace kelvorat
