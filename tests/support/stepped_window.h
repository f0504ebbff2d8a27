// A MonitorWindow that passes every call on to a real window and counts the
// cycle's pending-events steps. A fault test says what the user does during a
// request as "at step N": the action runs just before the Nth step
// dispatches, so it lands exactly where input queued during that request
// lands, whatever the network's timing.
#pragma once

#include <functional>
#include <map>
#include <string_view>
#include <utility>

#include "monitor/monitor_window.h"

namespace kelvorat::testing {

class SteppedWindow final : public MonitorWindow {
 public:
  // window must outlive this object.
  explicit SteppedWindow(MonitorWindow& window) : window_(window) {}

  // Runs action at the step-th pending-events step (counted from 1), before
  // that step dispatches; several actions for one step run in order.
  void AtStep(int step, std::function<void()> action) { actions_.emplace(step, std::move(action)); }
  [[nodiscard]] int steps() const { return steps_; }

  Text ReadText(std::string_view control) override { return window_.ReadText(control); }
  void WriteText(std::string_view control, std::string_view text) override { window_.WriteText(control, text); }
  int SelectedIndex(std::string_view control) override { return window_.SelectedIndex(control); }
  Text ShownText(std::string_view control) override { return window_.ShownText(control); }
  void SetEnabled(std::string_view control, bool enabled) override { window_.SetEnabled(control, enabled); }
  void SetTimerPeriod(std::string_view timer, int milliseconds) override {
    window_.SetTimerPeriod(timer, milliseconds);
  }
  int TimerPeriod(std::string_view timer) const override { return window_.TimerPeriod(timer); }
  void ShowMessageBox(std::string_view text, std::string_view title) override {
    window_.ShowMessageBox(text, title);
  }
  void SetFocus(std::string_view control) override { window_.SetFocus(control); }
  void ProcessPendingEvents() override {
    const int step = ++steps_;
    auto [first, last] = actions_.equal_range(step);
    // Taken out first: an action may start a nested tick, whose own steps
    // come back here.
    std::multimap<int, std::function<void()>> due(first, last);
    actions_.erase(first, last);
    for (auto& [at, action] : due) action();
    window_.ProcessPendingEvents();
  }
  bool IsClosed() const override { return window_.IsClosed(); }

 private:
  MonitorWindow& window_;
  int steps_ = 0;
  std::multimap<int, std::function<void()>> actions_;
};

}  // namespace kelvorat::testing
