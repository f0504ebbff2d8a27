// The window operations of the monitor cycle over the Qt main window.
#pragma once

#include "monitor/monitor_window.h"

namespace kelvorat {

class MainWindow;

// While it exists, a request that waits on the network (made on this thread)
// lets the window paint and answer the window system between its socket
// waits; user input, timers and the handlers wait for the next
// pending-events step.
class QtMonitorWindow final : public MonitorWindow {
 public:
  // window must outlive this object.
  explicit QtMonitorWindow(MainWindow& window);
  ~QtMonitorWindow() override;
  QtMonitorWindow(const QtMonitorWindow&) = delete;
  QtMonitorWindow& operator=(const QtMonitorWindow&) = delete;

  // Edit boxes give their content ("\r\n" between the lines of multi-line
  // ones), lists their shown entry, buttons and group boxes their caption;
  // an unknown name gives "".
  [[nodiscard]] Text ReadText(std::string_view control) override;
  // Single-line boxes drop line breaks and other control characters.
  void WriteText(std::string_view control, std::string_view text) override;
  [[nodiscard]] int SelectedIndex(std::string_view control) override;
  [[nodiscard]] Text ShownText(std::string_view control) override;
  void SetEnabled(std::string_view control, bool enabled) override;
  // A negative period counts as 0. Does nothing once the window is closed.
  void SetTimerPeriod(std::string_view timer, int milliseconds) override;
  [[nodiscard]] int TimerPeriod(std::string_view timer) const override;
  // Does nothing once the window is closed.
  void ShowMessageBox(std::string_view text, std::string_view title) override;
  void SetFocus(std::string_view control) override;
  // Does nothing once the window is closed: the program is ending.
  void ProcessPendingEvents() override;
  [[nodiscard]] bool IsClosed() const override;

 private:
  static void PaintWhileWaiting();

  MainWindow& window_;
  QtMonitorWindow* previous_ = nullptr;
};

}  // namespace kelvorat
