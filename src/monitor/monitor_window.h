// What the monitor cycle needs from the main window. The Qt window implements
// it over real widgets; tests use a fake. Controls are named as in
// control_names.h; every Text is code page 936.
#pragma once

#include <functional>
#include <string_view>

#include "text/text.h"

namespace kelvorat {

class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;

  // The box's current content; characters code page 936 lacks come back as '?'.
  [[nodiscard]] virtual Text ReadText(std::string_view control) = 0;
  // Replaces the content, also of read-only and disabled boxes.
  virtual void WriteText(std::string_view control, std::string_view text) = 0;
  // 0-based index of the selected entry of a drop-down list, -1 when none.
  [[nodiscard]] virtual int SelectedIndex(std::string_view control) = 0;
  // The text of the selected entry of a drop-down list ("" when none).
  [[nodiscard]] virtual Text ShownText(std::string_view control) = 0;
  virtual void SetEnabled(std::string_view control, bool enabled) = 0;
  // 0 stops the timer. A positive value that differs from the current one
  // (re)starts it, first event one full period later; the same value changes
  // nothing.
  virtual void SetTimerPeriod(std::string_view timer, int milliseconds) = 0;
  [[nodiscard]] virtual int TimerPeriod(std::string_view timer) const = 0;
  // Modal for the whole program; one OK button, no icon; returns when dismissed.
  virtual void ShowMessageBox(std::string_view text, std::string_view title) = 0;
  virtual void SetFocus(std::string_view control) = 0;
  // Dispatches every window event already waiting, then returns.
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
