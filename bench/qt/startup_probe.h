// Shared by the start-up tools: notes the wall-clock time of a window's first
// paint, then, after a quiet second, its resident memory, prints both as
// "shown_ns=<ns since the epoch> rss_kb=<kB>" and closes the window.
#pragma once

#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

class StartupProbe final : public QObject {
 public:
  explicit StartupProbe(QWidget* window, int idleMs = 1000) : QObject(window), window_(window), idleMs_(idleMs) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_ && event->type() == QEvent::Paint && shownNs_ == 0) {
      timespec now{};
      clock_gettime(CLOCK_REALTIME, &now);
      shownNs_ = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
      QTimer::singleShot(idleMs_, this, [this] { Report(); });
    }
    return false;
  }

 private:
  void Report() {
    std::printf("shown_ns=%lld rss_kb=%ld\n", shownNs_, ResidentKb());
    std::fflush(stdout);
    window_->close();
  }

  static long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
  }

  QWidget* window_;
  int idleMs_;
  long long shownNs_ = 0;
};
