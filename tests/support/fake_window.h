// A MonitorWindow over plain values, for testing the monitor cycle without a
// display. Pending events are closures that tests queue; ProcessPendingEvents
// runs them in order, as the real window dispatches clicks and timer events.
// It keeps the window contract of monitor_window.h (support/window_contract.h
// checks it as it checks the real windows).
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "monitor/monitor_window.h"

namespace kelvorat::testing {

class FakeWindow : public MonitorWindow {
 public:
  struct MessageBox {
    Text text;
    Text title;
  };

  // Starts with the window's initial values: a sample domain, the code, the
  // single entries of both lists selected, both buttons and the domain enabled.
  FakeWindow();

  Text ReadText(std::string_view control) override;
  void WriteText(std::string_view control, std::string_view text) override;
  int SelectedIndex(std::string_view control) override;
  Text ShownText(std::string_view control) override;
  void SetEnabled(std::string_view control, bool enabled) override;
  void SetTimerPeriod(std::string_view timer, int milliseconds) override;
  int TimerPeriod(std::string_view timer) const override;
  void ShowMessageBox(std::string_view text, std::string_view title) override;
  void SetFocus(std::string_view control) override;
  void ProcessPendingEvents() override;
  bool IsClosed() const override { return closed_; }

  // Test controls and observations.
  std::map<std::string, Text, std::less<>> texts;
  std::map<std::string, int, std::less<>> selectedIndex;
  std::map<std::string, bool, std::less<>> enabled;
  std::vector<MessageBox> messages;
  std::string focus;
  int timerPeriod = 0;
  int timerRestarts = 0;  // how often a new positive period (re)started the timer
  int pendingEventRuns = 0;
  std::deque<std::function<void()>> pendingEvents;
  // Runs at each pending-events step, after pendingEventRuns has been counted.
  std::function<void()> onProcessPendingEvents;
  // Operations seen after the window was closed (must stay empty).
  int touchedAfterClose = 0;

  // The user closes the window; the timer goes with it.
  void Close() {
    closed_ = true;
    timerPeriod = 0;
  }
  bool IsEnabled(std::string_view control) const;

 private:
  void NoteTouch() {
    if (closed_) ++touchedAfterClose;
  }
  bool closed_ = false;
};

}  // namespace kelvorat::testing
