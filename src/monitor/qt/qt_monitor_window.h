// The window operations of the monitor cycle over the Qt main window; the
// contract is the one of monitor_window.h.
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

  [[nodiscard]] Text ReadText(std::string_view control) override;
  void WriteText(std::string_view control, std::string_view text) override;
  [[nodiscard]] int SelectedIndex(std::string_view control) override;
  [[nodiscard]] Text ShownText(std::string_view control) override;
  void SetEnabled(std::string_view control, bool enabled) override;
  void SetTimerPeriod(std::string_view timer, int milliseconds) override;
  [[nodiscard]] int TimerPeriod(std::string_view timer) const override;
  // A QMessageBox without owner, application modal.
  void ShowMessageBox(std::string_view text, std::string_view title) override;
  void SetFocus(std::string_view control) override;
  void ProcessPendingEvents() override;
  [[nodiscard]] bool IsClosed() const override;

 private:
  static void PaintWhileWaiting();

  MainWindow& window_;
  QtMonitorWindow* previous_ = nullptr;
};

}  // namespace kelvorat
