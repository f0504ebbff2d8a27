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
#include "support/stepped_window.h"

namespace kelvorat::testing {

inline std::string HostOf(const LoopbackServer& server) {
  return "127.0.0.1:" + std::to_string(server.port());
}

// Requests of a log whose request line starts with prefix.
inline std::size_t CountRequests(const LoopbackServer& server, const std::string& prefix) {
  std::size_t n = 0;
  for (const std::string& request : server.Requests()) n += request.rfind(prefix, 0) == 0;
  return n;
}

// Hex of the UTF-8 bytes of text, for the /body and /delay routes.
inline std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (unsigned char c : bytes) {
    hex += kDigits[c >> 4];
    hex += kDigits[c & 15];
  }
  return hex;
}

inline constexpr std::string_view kFineAnswerUtf8 = "{\"msg\":\"\xE5\x9F\x9F\xE5\x90\x8D\xE6\xAD\xA3\xE5\xB8\xB8\"}";
inline constexpr std::string_view kBlockedAnswerUtf8 = "{\"msg\":\"blocked\"}";

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
