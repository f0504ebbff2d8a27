// The monitor's own texts, as the code page 936 bytes the program works in.
#pragma once

#include <string_view>

namespace kelvorat::monitor_texts {

inline constexpr std::string_view kFillInDomain =  // 请先填写待检测域名
    "\xC7\xEB\xCF\xC8\xCC\xEE\xD0\xB4\xB4\xFD\xBC\xEC\xB2\xE2\xD3\xF2\xC3\xFB";
inline constexpr std::string_view kFillInCode = "\xC7\xEB\xCF\xC8\xCC\xEE\xD0\xB4\xDF\xF7\xC2\xEB";  // 请先填写喵码
inline constexpr std::string_view kNoticeTitle = "\xCC\xE1\xCA\xBE";        // 提示
inline constexpr std::string_view kSixtySeconds = "60\xC3\xEB";             // 60秒
inline constexpr std::string_view kDomainOk = "\xD3\xF2\xC3\xFB\xD5\xFD\xB3\xA3";  // 域名正常
inline constexpr std::string_view kBlockedSuffix = "\xD2\xD1\xB1\xBB\xB7\xE2\xA3\xA1";  // 已被封！

}  // namespace kelvorat::monitor_texts
