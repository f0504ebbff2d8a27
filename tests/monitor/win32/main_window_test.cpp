// The Win32 main window against the control table: controls, places,
// contents, settings, pages and the frame.
#include "monitor/win32/main_window.h"

#include <gtest/gtest.h>

#include <string>

#include "monitor/control_names.h"
#include "monitor/control_table.h"
#include "monitor/win32/pictures.h"
#include "monitor/win32/wide_text.h"
#include "win32_test_support.h"

namespace kelvorat::win32 {
namespace {

using testing::RectIn;
using testing::WindowText;

class Win32MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::EnsureWindowing();
    ASSERT_TRUE(window_.Create(GetModuleHandleW(nullptr)));
  }
  void TearDown() override { testing::DrainQuit(); }

  HWND Find(std::string_view name) { return window_.Control(name); }
  LONG Style(std::string_view name) { return GetWindowLongW(Find(name), GWL_STYLE); }
  LONG ExStyle(std::string_view name) { return GetWindowLongW(Find(name), GWL_EXSTYLE); }

  // Where the table's coordinates start for a control of that parent.
  POINT ParentOrigin(const ControlSpec& spec) {
    POINT origin{0, 0};
    if (spec.parent.empty()) {
      ClientToScreen(window_.Handle(), &origin);
    } else {
      RECT parent;
      GetWindowRect(Find(spec.parent), &parent);
      origin = {parent.left, parent.top};
    }
    return origin;
  }

  MainWindow window_;
};

TEST_F(Win32MainWindowTest, EveryControlHasItsPlaceAndSize) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind == ControlKind::kTimer) continue;
    HWND control = Find(spec.name);
    ASSERT_NE(control, nullptr) << spec.name;
    RECT rect;
    GetWindowRect(control, &rect);
    const POINT origin = ParentOrigin(spec);
    EXPECT_EQ(rect.left - origin.x, spec.left) << spec.name;
    EXPECT_EQ(rect.top - origin.y, spec.top) << spec.name;
    EXPECT_EQ(rect.right - rect.left, spec.width) << spec.name;
    if (spec.kind == ControlKind::kDropDownList) {
      // The closed box: the system may keep the height its font needs.
      EXPECT_NEAR(rect.bottom - rect.top, spec.height, 2) << spec.name;
    } else {
      EXPECT_EQ(rect.bottom - rect.top, spec.height) << spec.name;
    }
    // Owned by the page of the tab control, or by the group box, it names.
    HWND owner = GetParent(control);
    if (spec.parent == controls::kTabs) {
      EXPECT_EQ(GetParent(owner), Find(controls::kTabs)) << spec.name;
    } else if (!spec.parent.empty()) {
      EXPECT_EQ(owner, Find(spec.parent)) << spec.name;
    }
  }
}

TEST_F(Win32MainWindowTest, WindowHasItsTitleFixedFrameIconAndPlace) {
  HWND main = window_.Handle();
  EXPECT_EQ(WindowText(main), L"\u3010Tavrel\u3011Kelvorat V1.0_Ostrevin");
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME) << "the frame cannot be resized";
  EXPECT_FALSE(GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT rect, work;
  GetWindowRect(main, &rect);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(rect.right - rect.left, 514);
  EXPECT_EQ(rect.bottom - rect.top, 227);
  EXPECT_LE(std::abs((rect.left - work.left) - (work.right - rect.right)), 1) << "centred";
  EXPECT_LE(std::abs((rect.top - work.top) - (work.bottom - rect.bottom)), 1) << "centred";
  EXPECT_NE(GetClassLongPtrW(main, GCLP_HICON), 0) << "the program's icon";
  EXPECT_EQ(GetClassLongPtrW(main, GCLP_HBRBACKGROUND), static_cast<LONG_PTR>(COLOR_BTNFACE + 1));
}

TEST_F(Win32MainWindowTest, EveryControlStartsWithItsCaptionOrContent) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind == ControlKind::kGroupBox || spec.kind == ControlKind::kPushButton ||
        spec.kind == ControlKind::kEditBox) {
      EXPECT_EQ(WindowText(Find(spec.name)), WideFromUtf8(spec.text)) << spec.name;
    }
  }
  EXPECT_EQ(WindowText(Find(controls::kDomainEdit)), L"example.com");
  EXPECT_EQ(WindowText(Find(controls::kCodeEdit)), L"Rb8nQe2");
  EXPECT_EQ(WindowText(Find(controls::kLastCheckEdit)), L"");
  EXPECT_EQ(WindowText(Find(controls::kCheckCountEdit)), L"");
  EXPECT_EQ(WindowText(Find(controls::kFrequencyList)), L"60\u79D2");
  EXPECT_EQ(WindowText(Find(controls::kInterfaceList)), L"\u2460\u53F7\u63A5\u53E3");
  for (std::string_view list : {controls::kFrequencyList, controls::kInterfaceList}) {
    EXPECT_EQ(SendMessageW(Find(list), CB_GETCOUNT, 0, 0), 1) << list;
    EXPECT_EQ(SendMessageW(Find(list), CB_GETCURSEL, 0, 0), 0) << list;
    EXPECT_EQ(Style(list) & 3, CBS_DROPDOWNLIST) << list << ": cannot be typed into";
  }
  HWND tabs = Find(controls::kTabs);
  ASSERT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 3);
  wchar_t caption[16] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = caption;
  item.cchTextMax = 16;
  SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(std::wstring(caption), L"\u5E2E\u52A9");  // 帮助
  for (std::string_view button : {controls::kStartButton, controls::kStopButton}) {
    EXPECT_EQ(Style(button) & 0xF, BS_PUSHBUTTON) << button << ": plain, not a default button";
    EXPECT_TRUE(IsWindowEnabled(Find(button)));
  }
}

TEST_F(Win32MainWindowTest, EditBoxesHaveTheirSettings) {
  for (const ControlSpec& spec : MainWindowControls()) {
    if (spec.kind != ControlKind::kEditBox) continue;
    const EditSettings& edit = spec.edit;
    const LONG style = Style(spec.name);
    EXPECT_EQ((style & ES_MULTILINE) != 0, edit.multiLine) << spec.name;
    EXPECT_EQ((style & WS_VSCROLL) != 0, edit.multiLine) << spec.name;
    EXPECT_EQ((style & ES_READONLY) != 0, edit.readOnly) << spec.name;
    EXPECT_EQ(IsWindowEnabled(Find(spec.name)) != FALSE, edit.enabled) << spec.name;
    EXPECT_EQ((style & WS_TABSTOP) != 0, edit.tabStop) << spec.name;
    // A thin border is the edit control's own one-pixel line (it takes
    // WS_BORDER off its style at creation); sunken is the client edge.
    const bool sunken = edit.border == EditBorder::kSunken;
    EXPECT_EQ((ExStyle(spec.name) & WS_EX_CLIENTEDGE) != 0, sunken) << spec.name;

    LOGFONTW font{};
    auto handle = reinterpret_cast<HFONT>(SendMessageW(Find(spec.name), WM_GETFONT, 0, 0));
    ASSERT_NE(GetObjectW(handle, sizeof font, &font), 0) << spec.name;
    if (edit.fontFamily.empty()) {
      EXPECT_EQ(handle, GetStockObject(DEFAULT_GUI_FONT)) << spec.name;
    } else {
      EXPECT_EQ(std::wstring(font.lfFaceName), WideFromUtf8(edit.fontFamily)) << spec.name;
      EXPECT_EQ(font.lfHeight, -edit.fontPixelHeight) << spec.name;
      EXPECT_EQ(font.lfWeight, FW_NORMAL) << spec.name;
      EXPECT_EQ(font.lfCharSet, GB2312_CHARSET) << spec.name;
    }
  }
  // The domain box takes a domain of any length.
  EXPECT_GT(SendMessageW(Find(controls::kDomainEdit), EM_GETLIMITTEXT, 0, 0), 0x10000);
}

// The colours the window hands each box when it paints.
TEST_F(Win32MainWindowTest, NoticeIsBlueAndInputBoxesBlackOnWhite) {
  HDC dc = GetDC(window_.Handle());
  auto colours = [&](std::string_view name, UINT message) {
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkColor(dc, RGB(1, 2, 3));
    SendMessageW(window_.Handle(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Find(name)));
    return std::pair{GetTextColor(dc), GetBkColor(dc)};
  };
  // Read-only boxes ask with WM_CTLCOLORSTATIC, editable ones with WM_CTLCOLOREDIT.
  EXPECT_EQ(colours("编辑框1", WM_CTLCOLORSTATIC), std::pair(RGB(0, 0, 255), RGB(255, 255, 255)));
  EXPECT_EQ(colours("如何获取喵码_编辑框", WM_CTLCOLORSTATIC), std::pair(RGB(0, 0, 0), RGB(255, 255, 255)));
  EXPECT_EQ(colours(controls::kDomainEdit, WM_CTLCOLOREDIT), std::pair(RGB(0, 0, 0), RGB(255, 255, 255)));
  EXPECT_EQ(colours("域名_分组框", WM_CTLCOLORSTATIC), std::pair(RGB(0, 0, 0), RGB(255, 255, 255)));
  ReleaseDC(window_.Handle(), dc);
}

TEST_F(Win32MainWindowTest, DonationPicturesAreDecodedAtTheirOwnSizes) {
  for (auto [name, width, height] : {std::tuple{"微信_图片框", 301, 300}, std::tuple{"微信_图片框1", 293, 292}}) {
    auto bitmap = reinterpret_cast<HBITMAP>(GetWindowLongPtrW(Find(name), GWLP_USERDATA));
    BITMAP size{};
    ASSERT_NE(GetObjectW(bitmap, sizeof size, &size), 0) << name;
    EXPECT_EQ(size.bmWidth, width) << name;
    EXPECT_EQ(size.bmHeight, height) << name;
  }
  EXPECT_EQ(PictureResourceName(":/pictures/donate_wechat.png"), L"DONATE_WECHAT_PNG");
  EXPECT_EQ(LoadPngResource(GetModuleHandleW(nullptr), L"NO_SUCH_PNG"), nullptr);
}

// A click on a tab shows its page; the other pages' controls hide and keep
// their values.
TEST_F(Win32MainWindowTest, ClickingATabShowsOnlyItsPage) {
  window_.Show();
  HWND tabs = Find(controls::kTabs);
  EXPECT_EQ(window_.CurrentPage(), 0);
  EXPECT_TRUE(IsWindowVisible(Find(controls::kDomainEdit)));
  EXPECT_FALSE(IsWindowVisible(Find("如何获取喵码_编辑框")));

  SetWindowTextW(Find(controls::kDomainEdit), L"kept.example");
  RECT tab;
  SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const LPARAM point = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
  SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(tabs, WM_LBUTTONUP, 0, point);
  EXPECT_EQ(window_.CurrentPage(), 1);
  EXPECT_TRUE(IsWindowVisible(Find("如何获取喵码_编辑框")));
  EXPECT_FALSE(IsWindowVisible(Find(controls::kDomainEdit)));
  EXPECT_FALSE(IsWindowVisible(Find("微信_图片框")));

  window_.SelectPage(0);
  EXPECT_TRUE(IsWindowVisible(Find(controls::kDomainEdit)));
  EXPECT_EQ(WindowText(Find(controls::kDomainEdit)), L"kept.example");
}

TEST_F(Win32MainWindowTest, ButtonsAndTimerCallTheirHandlers) {
  int starts = 0, stops = 0, ticks = 0;
  window_.BindHandlers({.startClicked = [&] { ++starts; }, .stopClicked = [&] { ++stops; },
                        .timerFired = [&] { ++ticks; }});
  window_.Show();
  SendMessageW(Find(controls::kStartButton), BM_CLICK, 0, 0);
  SendMessageW(Find(controls::kStopButton), BM_CLICK, 0, 0);
  SendMessageW(Find(controls::kStopButton), BM_CLICK, 0, 0);
  EXPECT_EQ(starts, 1);
  EXPECT_EQ(stops, 2);

  EXPECT_EQ(window_.TimerPeriod(), 0) << "idle at start";
  window_.SetTimerPeriod(30);
  EXPECT_TRUE(testing::WaitUntil(window_, [&] { return ticks >= 2; }));
  window_.SetTimerPeriod(0);
  const int stopped = ticks;
  Sleep(100);
  testing::WaitUntil(window_, [] { return false; }, 100);
  EXPECT_EQ(ticks, stopped) << "period 0: no more events";
  EXPECT_EQ(starts, 1) << "no other event calls a handler";
}

}  // namespace
}  // namespace kelvorat::win32
