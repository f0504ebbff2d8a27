// The whole monitor on one thread, for tests that drive it into trouble: the
// real window (offscreen), the real cycle and the libcurl platform, pointed at
// loopback services, with short network time-outs.
#pragma once

#include <QAbstractButton>
#include <QLineEdit>
#include <QTimer>
#include <QTimerEvent>

#include <chrono>
#include <memory>
#include <string>

#include "http/platform/transfer_bounds.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/qt/main_window.h"
#include "monitor/qt/qt_monitor_window.h"
#include "qt_test_support.h"
#include "support/loopback_server.h"
#include "support/raw_http.h"
#include "support/service_answers.h"
#include "support/stepped_window.h"

namespace kelvorat::testing {


// Time-outs short enough that a hostile service costs seconds, not minutes,
// and a 1 MiB body limit.
inline constexpr wininet::TransferBounds kShortTimeouts{std::chrono::milliseconds(2000), std::chrono::seconds(1),
                                                        std::chrono::seconds(3), std::size_t{1} << 20};
// Time-outs that a slow but sound service (answering within a second or two) passes.
inline constexpr wininet::TransferBounds kPatientTimeouts{std::chrono::milliseconds(2000), std::chrono::seconds(5),
                                                          std::chrono::seconds(10), std::size_t{1} << 20};

class LiveMonitor {
 public:
  LiveMonitor(const std::string& checkHost, const std::string& notifyHost,
              wininet::TransferBounds bounds = kShortTimeouts)
      : previousBounds_(wininet::SetTransferBounds(bounds)) {
    EnsureApplication();
    window_ = std::make_unique<MainWindow>();
    ops_ = std::make_unique<QtMonitorWindow>(*window_);
    stepped_ = std::make_unique<SteppedWindow>(*ops_);
    cycle_ = std::make_unique<MonitorCycle>(*stepped_, ServiceHosts{checkHost, notifyHost}, kSixtySecondsMs);
    window_->BindHandlers(cycle_->Handlers());
    window_->show();
  }
  ~LiveMonitor() { wininet::SetTransferBounds(previousBounds_); }

  template <typename T>
  T* Find(std::string_view name) const {
    return window_->findChild<T*>(Q(name));
  }
  QAbstractButton* StartButton() const { return Find<QAbstractButton>(controls::kStartButton); }
  QAbstractButton* StopButton() const { return Find<QAbstractButton>(controls::kStopButton); }
  QTimer* Timer() const { return Find<QTimer>(controls::kTimer); }
  void SetDomain(const char* domain) { Find<QLineEdit>(controls::kDomainEdit)->setText(domain); }
  // The text the window shows in a control, as the cycle reads it.
  std::string Shown(std::string_view control) { return ops_->ReadText(control); }
  // One periodic event, delivered as the running timer delivers it.
  void TimerEvent() {
    QTimerEvent event(Timer()->timerId());
    QCoreApplication::sendEvent(Timer(), &event);
  }

  MainWindow& window() { return *window_; }
  MonitorCycle& cycle() { return *cycle_; }
  // The cycle's pending-events steps, for actions "during request N".
  SteppedWindow& steps() { return *stepped_; }

 private:
  wininet::TransferBounds previousBounds_;
  std::unique_ptr<MainWindow> window_;
  std::unique_ptr<QtMonitorWindow> ops_;
  std::unique_ptr<SteppedWindow> stepped_;
  std::unique_ptr<MonitorCycle> cycle_;
};

}  // namespace kelvorat::testing
