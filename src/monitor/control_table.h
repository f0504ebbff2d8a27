// The main window as data: every control with its kind, place, caption or
// content and settings. Toolkit-free, so any window backend builds from it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kelvorat {

enum class ControlKind { kTabControl, kGroupBox, kEditBox, kDropDownList, kPushButton, kPictureBox, kTimer };

// Sunken: the three-dimensional client edge; thin: a one-pixel line.
enum class EditBorder { kSunken, kThin };

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

struct EditSettings {
  bool multiLine = false;          // multi-line boxes also carry a vertical scroll bar
  EditBorder border = EditBorder::kSunken;
  bool readOnly = false;
  bool enabled = true;
  bool unlimitedLength = false;    // otherwise the toolkit's default limit applies
  std::string_view fontFamily{};     // empty: the window's default font
  int fontPixelHeight = 0;         // character height, with fontFamily
  bool ownColours = false;         // false: the toolkit's colours for the box's state
  Rgb textColour{};                  // with ownColours
  Rgb backgroundColour{};            // with ownColours
  bool tabStop = true;             // takes the focus by Tab
};

struct ControlSpec {
  ControlKind kind{};
  std::string_view name{};
  std::string_view parent{};   // empty: the window itself
  int page = 0;              // 1-based page of the tab control it shows on; 0: none
  // Relative to the parent's area; for controls placed directly on a tab page,
  // relative to the tab control's own rectangle.
  int left = 0, top = 0, width = 0, height = 0;
  std::string_view text{};     // caption or initial content, UTF-8, "\r\n" line breaks
  std::span<const std::string_view> items{};  // tab pages or list entries; the first is selected
  EditSettings edit{};         // edit boxes only
  std::string_view picture{};  // picture boxes: resource path of the PNG
  int timerPeriod = 0;       // timers: period in milliseconds at start, 0 = idle
};

struct WindowSpec {
  std::string_view title{};
  int outerWidth = 0, outerHeight = 0;    // frame included
  // The client area the layout was drawn for: the outer size less a fixed
  // frame of 3 pixels on each side and a 23-pixel title bar.
  int clientWidth = 0, clientHeight = 0;
  std::string_view icon{};          // resource path of the PNG
};

[[nodiscard]] const WindowSpec& MainWindowSpec();
// Every control in creation order: a parent always comes before its children.
[[nodiscard]] std::span<const ControlSpec> MainWindowControls();
// The control of that name, nullptr when the table has none.
[[nodiscard]] const ControlSpec* FindControlSpec(std::string_view name);

}  // namespace kelvorat
