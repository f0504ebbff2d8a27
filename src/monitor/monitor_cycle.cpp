// The start, stop and tick handlers of the monitor.
#include "monitor/monitor_cycle.h"

#include "http/http_request.h"
#include "monitor/control_names.h"
#include "monitor/monitor_texts.h"
#include "text/codepage.h"
#include "text/url_encode.h"

namespace kelvorat {

namespace {

// Counts the ticks on the stack for as long as one runs.
class TickScope {
 public:
  explicit TickScope(int& running) : running_(running) { ++running_; }
  ~TickScope() { --running_; }
  TickScope(const TickScope&) = delete;
  TickScope& operator=(const TickScope&) = delete;

 private:
  int& running_;
};

}  // namespace

void MonitorCycle::StartButtonClicked() {
  if (CompareText(window_.ReadText(controls::kDomainEdit), "") == 0) {
    window_.ShowMessageBox(monitor_texts::kFillInDomain, monitor_texts::kNoticeTitle);
    window_.SetFocus(controls::kDomainEdit);
    return;
  }
  if (CompareText(window_.ReadText(controls::kCodeEdit), "") == 0) {
    window_.ShowMessageBox(monitor_texts::kFillInCode, monitor_texts::kNoticeTitle);
    window_.SetFocus(controls::kCodeEdit);
    return;
  }
  // Only the first check interface exists.
  if (window_.SelectedIndex(controls::kInterfaceList) != 0) return;

  monitorStopped_ = 0;
  MonitorTimerTick();
  if (WindowGone()) return;

  const bool everyMinute =
      CompareText(window_.ShownText(controls::kFrequencyList), monitor_texts::kSixtySeconds) == 0;
  window_.SetTimerPeriod(controls::kTimer, everyMinute ? sixtySecondsMs_ : 0);
  window_.SetEnabled(controls::kStartButton, false);
  window_.SetEnabled(controls::kDomainEdit, false);
}

void MonitorCycle::StopButtonClicked() {
  monitorStopped_ = 1;
  if (WindowGone()) return;
  window_.SetEnabled(controls::kStartButton, true);
  window_.SetEnabled(controls::kDomainEdit, true);
}

void MonitorCycle::TimerFired() {
  if (ticksRunning_ > 0) return;
  MonitorTimerTick();
}

void MonitorCycle::MonitorTimerTick() {
  if (monitorStopped_ != 0 || WindowGone()) return;
  TickScope scope(ticksRunning_);

  window_.WriteText(controls::kLastCheckEdit, DateTimeToText(CurrentDateTime()));
  const Text domain = window_.ReadText(controls::kDomainEdit);
  const bool blocked = CheckDomainBlocked(domain) == -1;
  if (blocked && !WindowGone()) SendAlert();

  ++checkCount_;
  if (WindowGone()) return;
  window_.WriteText(controls::kCheckCountEdit, ToText(checkCount_));
}

void MonitorCycle::SendAlert() {
  // The domain is read again: the pending events after the check may have changed it.
  const Text alert = ConcatText(window_.ReadText(controls::kDomainEdit), monitor_texts::kBlockedSuffix);
  const Text encoded = UrlEncodeText(alert);
  const Text code = window_.ReadText(controls::kCodeEdit);
  (void)Utf8ToAnsi(HttpGetText(NotifyTriggerUrl(hosts_.notify, code, encoded)));
  window_.ProcessPendingEvents();
}

std::int32_t MonitorCycle::CheckDomainBlocked(const Text& domain) {
  const Text answer = Utf8ToAnsi(HttpGetText(BlockCheckUrl(hosts_.check, domain)));
  window_.ProcessPendingEvents();
  return FindText(answer, monitor_texts::kDomainOk);
}

WindowHandlers MonitorCycle::Handlers() {
  return WindowHandlers{
      .startClicked = [this] { StartButtonClicked(); },
      .stopClicked = [this] { StopButtonClicked(); },
      .timerFired = [this] { TimerFired(); },
  };
}

}  // namespace kelvorat
