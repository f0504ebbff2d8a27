// The window operations of the monitor cycle over the Win32 main window; the
// contract is the one of monitor_window.h.
#pragma once

#include "monitor/monitor_window.h"

namespace kelvorat::win32 {

class MainWindow;

// While it exists, a request that waits on the network (made on this thread)
// lets the window paint and answer the window system; user input, timers
// and the handlers wait for the next pending-events step.
class Win32MonitorWindow final : public MonitorWindow {
 public:
  // window must outlive this object.
  explicit Win32MonitorWindow(MainWindow& window);
  ~Win32MonitorWindow() override;
  Win32MonitorWindow(const Win32MonitorWindow&) = delete;
  Win32MonitorWindow& operator=(const Win32MonitorWindow&) = delete;

  [[nodiscard]] Text ReadText(std::string_view control) override;
  void WriteText(std::string_view control, std::string_view text) override;
  [[nodiscard]] int SelectedIndex(std::string_view control) override;
  [[nodiscard]] Text ShownText(std::string_view control) override;
  void SetEnabled(std::string_view control, bool enabled) override;
  void SetTimerPeriod(std::string_view timer, int milliseconds) override;
  [[nodiscard]] int TimerPeriod(std::string_view timer) const override;
  // No owner window, modal for the whole program (task modal).
  void ShowMessageBox(std::string_view text, std::string_view title) override;
  void SetFocus(std::string_view control) override;
  void ProcessPendingEvents() override;
  [[nodiscard]] bool IsClosed() const override;

 private:
  static void PaintWhileWaiting();

  MainWindow& window_;
  Win32MonitorWindow* previous_ = nullptr;
};

}  // namespace kelvorat::win32
