// The main window's control list: the single place its layout and defaults live.
#include "monitor/control_table.h"

#include <array>

#include "monitor/control_names.h"

namespace kelvorat {
namespace {

using K = ControlKind;
namespace c = controls;

constexpr std::string_view kNoticeText =
    "        喵码微信提醒注意事项\r\n"
    " ①喵码限制一分钟只能提醒一次；\r\n"
    " ②喵码每天免费提醒100次；\r\n"
    " ③喵码需要48小时激活一次；";

constexpr std::string_view kHelpText =
    "①微信搜索“喵提醒”公众号；\r\n"
    "②关注并注册“喵提醒”帐号；\r\n"
    "③公众号内点击“激活48小时”，先激活帐号；\r\n"
    "④公众号内点击“提醒”-“添加提醒”-输入提醒标题-“保存”；\r\n"
    "⑤保存成功后会自动显示“喵码”；\r\n"
    "⑥复制“喵码”并粘贴到软件；\r\n"
    "⑦开启监控；";

constexpr std::array<std::string_view, 3> kPages = {"基本设置", "帮助", "捐助"};
constexpr std::array<std::string_view, 1> kFrequencies = {"60秒"};
constexpr std::array<std::string_view, 1> kInterfaces = {"①号接口"};

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{0, 0, 255};

// The two boxes the user types into.
constexpr EditSettings kInputBox{.border = EditBorder::kSunken,
                                 .ownColours = true,
                                 .textColour = kBlack,
                                 .backgroundColour = kWhite};
// The two boxes the monitor writes its progress into.
constexpr EditSettings kDisplayBox{.border = EditBorder::kThin,
                                   .readOnly = true,
                                   .enabled = false,
                                   .tabStop = false};
constexpr EditSettings kTextPanel{.multiLine = true,
                                  .border = EditBorder::kThin,
                                  .readOnly = true,
                                  .fontFamily = "微软雅黑",
                                  .fontPixelHeight = 12,
                                  .ownColours = true,
                                  .textColour = kBlack,
                                  .backgroundColour = kWhite};

constexpr EditSettings With(EditSettings settings, Rgb text, bool tabStop) {
  settings.textColour = text;
  settings.tabStop = tabStop;
  return settings;
}

constexpr EditSettings WithUnlimitedLength(EditSettings settings) {
  settings.unlimitedLength = true;
  return settings;
}

const std::array kControls = std::to_array<ControlSpec>({
    {.kind = K::kTabControl, .name = c::kTabs, .left = 8, .top = 8, .width = 496, .height = 184,
     .items = kPages},

    // Page 1: settings.
    {.kind = K::kGroupBox, .name = "域名_分组框", .parent = c::kTabs, .page = 1,
     .left = 8, .top = 30, .width = 120, .height = 45, .text = "待监控域名"},
    {.kind = K::kEditBox, .name = c::kDomainEdit, .parent = "域名_分组框", .page = 1,
     .left = 12, .top = 16, .width = 96, .height = 20, .text = "example.com",
     .edit = WithUnlimitedLength(kInputBox)},
    {.kind = K::kGroupBox, .name = "频率_分组框", .parent = c::kTabs, .page = 1,
     .left = 136, .top = 30, .width = 120, .height = 45, .text = "检测频率"},
    {.kind = K::kDropDownList, .name = c::kFrequencyList, .parent = "频率_分组框", .page = 1,
     .left = 10, .top = 16, .width = 100, .height = 20, .items = kFrequencies},
    {.kind = K::kTimer, .name = c::kTimer, .parent = "频率_分组框", .page = 1, .timerPeriod = 0},
    {.kind = K::kGroupBox, .name = "检测_分组框", .parent = c::kTabs, .page = 1,
     .left = 8, .top = 80, .width = 120, .height = 45, .text = "微信域名被封检测"},
    {.kind = K::kDropDownList, .name = c::kInterfaceList, .parent = "检测_分组框", .page = 1,
     .left = 10, .top = 16, .width = 100, .height = 20, .items = kInterfaces},
    {.kind = K::kGroupBox, .name = "微信提醒_分组框", .parent = c::kTabs, .page = 1,
     .left = 136, .top = 80, .width = 120, .height = 45, .text = "微信提醒-喵码"},
    {.kind = K::kEditBox, .name = c::kCodeEdit, .parent = "微信提醒_分组框", .page = 1,
     .left = 12, .top = 17, .width = 96, .height = 20, .text = "Rb8nQe2", .edit = kInputBox},
    {.kind = K::kGroupBox, .name = "注意_分组框", .parent = c::kTabs, .page = 1,
     .left = 264, .top = 25, .width = 224, .height = 100, .text = "注意事项"},
    {.kind = K::kEditBox, .name = "编辑框1", .parent = "注意_分组框", .page = 1,
     .left = 8, .top = 15, .width = 208, .height = 72, .text = kNoticeText,
     .edit = With(kTextPanel, kBlue, /*tabStop=*/false)},
    {.kind = K::kGroupBox, .name = "上一次检测时间_分组框", .parent = c::kTabs, .page = 1,
     .left = 8, .top = 129, .width = 232, .height = 45, .text = "上一次检测时间"},
    {.kind = K::kEditBox, .name = c::kLastCheckEdit, .parent = "上一次检测时间_分组框", .page = 1,
     .left = 8, .top = 16, .width = 216, .height = 20, .edit = kDisplayBox},
    {.kind = K::kGroupBox, .name = "微信提醒_分组框1", .parent = c::kTabs, .page = 1,
     .left = 250, .top = 129, .width = 80, .height = 45, .text = "已检测次数"},
    {.kind = K::kEditBox, .name = c::kCheckCountEdit, .parent = "微信提醒_分组框1", .page = 1,
     .left = 8, .top = 16, .width = 62, .height = 20, .edit = kDisplayBox},
    {.kind = K::kPushButton, .name = c::kStartButton, .parent = c::kTabs, .page = 1,
     .left = 336, .top = 137, .width = 70, .height = 32, .text = "开启监控"},
    {.kind = K::kPushButton, .name = c::kStopButton, .parent = c::kTabs, .page = 1,
     .left = 416, .top = 136, .width = 70, .height = 32, .text = "停止监控"},

    // Page 2: help.
    {.kind = K::kGroupBox, .name = "喵码帮助_分组框", .parent = c::kTabs, .page = 2,
     .left = 8, .top = 30, .width = 480, .height = 146, .text = "如何获取喵码？"},
    {.kind = K::kEditBox, .name = "如何获取喵码_编辑框", .parent = "喵码帮助_分组框", .page = 2,
     .left = 8, .top = 16, .width = 463, .height = 122, .text = kHelpText,
     .edit = With(kTextPanel, kBlack, /*tabStop=*/true)},

    // Page 3: donations.
    {.kind = K::kGroupBox, .name = "分组框1", .parent = c::kTabs, .page = 3,
     .left = 87, .top = 24, .width = 155, .height = 155, .text = "微信"},
    {.kind = K::kPictureBox, .name = "微信_图片框", .parent = "分组框1", .page = 3,
     .left = 8, .top = 13, .width = 137, .height = 137, .picture = ":/pictures/donate_wechat.png"},
    {.kind = K::kGroupBox, .name = "分组框2", .parent = c::kTabs, .page = 3,
     .left = 258, .top = 24, .width = 155, .height = 155, .text = "支付宝"},
    {.kind = K::kPictureBox, .name = "微信_图片框1", .parent = "分组框2", .page = 3,
     .left = 10, .top = 14, .width = 137, .height = 137, .picture = ":/pictures/donate_alipay.png"},
});

constexpr WindowSpec kWindow{.title = "【Tavrel】Kelvorat V1.0_Ostrevin",
                             .outerWidth = 514,
                             .outerHeight = 227,
                             .clientWidth = 514 - 2 * 3,
                             .clientHeight = 227 - 23 - 2 * 3,
                             .icon = ":/pictures/kelvorat_icon.png"};

}  // namespace

const WindowSpec& MainWindowSpec() { return kWindow; }

std::span<const ControlSpec> MainWindowControls() { return kControls; }

const ControlSpec* FindControlSpec(std::string_view name) {
  for (const ControlSpec& control : kControls) {
    if (control.name == name) return &control;
  }
  return nullptr;
}

}  // namespace kelvorat
