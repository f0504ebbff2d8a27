// Names of the main window's controls, as the window and the monitor cycle
// know them (UTF-8; each Qt widget carries its name as object name).
#pragma once

#include <string_view>

namespace kelvorat::controls {

inline constexpr std::string_view kTabs = "选择夹1";
inline constexpr std::string_view kDomainEdit = "域名_编辑框";
inline constexpr std::string_view kCodeEdit = "喵码_编辑框";
inline constexpr std::string_view kInterfaceList = "接口_组合框";
inline constexpr std::string_view kFrequencyList = "频率_组合框";
inline constexpr std::string_view kTimer = "时钟1";
inline constexpr std::string_view kStartButton = "开启监控_按钮";
inline constexpr std::string_view kStopButton = "检测_按钮1";
inline constexpr std::string_view kLastCheckEdit = "上一次检测时间_编辑框";
inline constexpr std::string_view kCheckCountEdit = "已检测次数_编辑框";

}  // namespace kelvorat::controls
