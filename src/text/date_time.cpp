// The date-time text shown to the user, in code page 936.
#include "text/text.h"

namespace kelvorat {
namespace {

// The unit characters in code page 936.
constexpr std::string_view kYear = "\xC4\xEA";    // 年
constexpr std::string_view kMonth = "\xD4\xC2";   // 月
constexpr std::string_view kDay = "\xC8\xD5";     // 日
constexpr std::string_view kHour = "\xCA\xB1";    // 时
constexpr std::string_view kMinute = "\xB7\xD6";  // 分
constexpr std::string_view kSecond = "\xC3\xEB";  // 秒

void AppendField(Text& out, int value, std::string_view unit) {
  out += ToText(value);
  out += unit;
}

}  // namespace

Text DateTimeToText(const DateTime& dateTime) {
  Text out;
  AppendField(out, dateTime.year, kYear);
  AppendField(out, dateTime.month, kMonth);
  AppendField(out, dateTime.day, kDay);
  // The time of day is shortened from the right while its trailing fields are 0.
  const int shown = dateTime.second != 0 ? 3 : dateTime.minute != 0 ? 2 : dateTime.hour != 0 ? 1 : 0;
  if (shown >= 1) AppendField(out, dateTime.hour, kHour);
  if (shown >= 2) AppendField(out, dateTime.minute, kMinute);
  if (shown >= 3) AppendField(out, dateTime.second, kSecond);
  return out;
}

}  // namespace kelvorat
