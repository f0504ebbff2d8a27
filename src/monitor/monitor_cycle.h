// The monitor cycle: what "开启监控", "停止监控" and each period of the timer do.
// One tick shows the time, asks the block-check service about the domain and,
// unless the answer says "域名正常", sends the alert to the notification service.
#pragma once

#include <cstdint>
#include <utility>

#include "monitor/monitor_window.h"
#include "monitor/service_urls.h"
#include "text/text.h"

namespace kelvorat {

// The period "60秒" stands for in the program.
inline constexpr int kSixtySecondsMs = 60 * 1000;

class MonitorCycle {
 public:
  // Talks to the services at hosts; "60秒" means sixtySecondsMs between ticks
  // (the program passes kSixtySecondsMs; tests and the soak tool shorten it).
  MonitorCycle(MonitorWindow& window, ServiceHosts hosts, int sixtySecondsMs)
      : window_(window), hosts_(std::move(hosts)), sixtySecondsMs_(sixtySecondsMs) {}

  // Checks the inputs, runs one tick at once, starts the 60-second timer and
  // disables the start button and the domain box. Refusals leave all as it was.
  void StartButtonClicked();
  // Pauses: later ticks return at once; the timer keeps running.
  void StopButtonClicked();
  // One check (and alert when blocked); adds one to checkCount.
  void MonitorTimerTick();
  // The timer's periodic event. Refused while another tick is running, so a
  // request that outlasts the period never stacks ticks inside each other.
  void TimerFired();
  // 1-based position of "域名正常" in the service's decoded answer, or -1.
  std::int32_t CheckDomainBlocked(const Text& domain);

  // The handlers to bind to the window's events.
  [[nodiscard]] WindowHandlers Handlers();

  // While not 0 a tick does nothing.
  [[nodiscard]] std::int32_t monitorStopped() const { return monitorStopped_; }
  // Ticks run since the program started.
  [[nodiscard]] std::int32_t checkCount() const { return checkCount_; }

 private:
  // True once the user closed the window: the running tick stops touching it.
  [[nodiscard]] bool WindowGone() const { return window_.IsClosed(); }
  void SendAlert();

  MonitorWindow& window_;
  const ServiceHosts hosts_;
  const int sixtySecondsMs_;
  int ticksRunning_ = 0;
  std::int32_t monitorStopped_ = 0;
  std::int32_t checkCount_ = 0;
};

}  // namespace kelvorat
