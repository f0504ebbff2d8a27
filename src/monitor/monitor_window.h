// What the monitor cycle needs from the main window. The Qt and the Win32
// window implement it over real controls; tests use a fake. Controls are named
// as in control_names.h; every Text is code page 936. The contract below holds
// for every implementation (tests/support/window_contract.h checks it on each).
#pragma once

#include <functional>
#include <string_view>

#include "text/text.h"

namespace kelvorat {

class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;

  // Edit boxes give their content ("\r\n" between the lines of multi-line
  // ones), lists their shown entry, buttons and group boxes their caption; an
  // unknown name gives "". Characters code page 936 lacks come back as '?'.
  [[nodiscard]] virtual Text ReadText(std::string_view control) = 0;
  // Replaces the content, also of read-only and disabled boxes. Single-line
  // boxes drop line breaks and other control characters.
  virtual void WriteText(std::string_view control, std::string_view text) = 0;
  // 0-based index of the selected entry of a drop-down list, -1 when none or
  // when the control is no list.
  [[nodiscard]] virtual int SelectedIndex(std::string_view control) = 0;
  // The text of the selected entry of a drop-down list ("" when none).
  [[nodiscard]] virtual Text ShownText(std::string_view control) = 0;
  virtual void SetEnabled(std::string_view control, bool enabled) = 0;
  // 0 stops the timer. A positive value that differs from the current one
  // (re)starts it, first event one full period later; the same value changes
  // nothing; a negative value counts as 0. Does nothing once the window is
  // closed: the timer went with it.
  virtual void SetTimerPeriod(std::string_view timer, int milliseconds) = 0;
  // The period in force; 0 when idle, closed or not a timer.
  [[nodiscard]] virtual int TimerPeriod(std::string_view timer) const = 0;
  // Modal for the whole program; one OK button, no icon; returns when
  // dismissed. Does nothing once the window is closed.
  virtual void ShowMessageBox(std::string_view text, std::string_view title) = 0;
  virtual void SetFocus(std::string_view control) = 0;
  // Dispatches every window event already waiting, then returns. Does nothing
  // once the window is closed: the program is ending.
  virtual void ProcessPendingEvents() = 0;
  // True once the user closed the window; from then on the cycle leaves it alone.
  [[nodiscard]] virtual bool IsClosed() const = 0;
};

// The window's events, bound by the window to the monitor cycle's handlers.
struct WindowHandlers {
  std::function<void()> startClicked;
  std::function<void()> stopClicked;
  std::function<void()> timerFired;
};

}  // namespace kelvorat
