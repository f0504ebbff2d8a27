// Soak: many ticks of the real window and monitor cycle against the stand-in
// services, with the timer's period shortened. Prints resident memory and open
// file descriptors as the ticks go by, so growth shows up as a rising column.
//
//   monitor_soak_tool <stand-in port> [ticks] [period ms]
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "http/platform/system_binding.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/qt/main_window.h"
#include "monitor/qt/qt_monitor_window.h"
#include "support/process_probe.h"

namespace {

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <stand-in port> [ticks] [period ms]\n", argv[0]);
    return 2;
  }
  const std::string host = std::string("127.0.0.1:") + argv[1];
  const int ticks = argc > 2 ? std::atoi(argv[2]) : 2000;
  const int periodMs = argc > 3 ? std::atoi(argv[3]) : 5;

  QApplication application(argc, argv);
  const kelvorat::wininet::ScopedWinInet http(kelvorat::wininet::SystemBinding());
  kelvorat::MainWindow window;
  kelvorat::QtMonitorWindow operations(window);
  kelvorat::MonitorCycle cycle(operations, kelvorat::ServiceHosts{host, host}, periodMs);
  window.BindHandlers(cycle.Handlers());
  window.show();

  std::printf("%8s %10s %6s\n", "ticks", "rss_kib", "fds");
  int reported = 0;
  QTimer sampler;
  QObject::connect(&sampler, &QTimer::timeout, [&] {
    const int count = cycle.checkCount();
    if (count >= 100 && (count / 100) > reported) {
      reported = count / 100;
      std::printf("%8d %10ld %6d\n", count, ResidentKiB(), kelvorat::testing::OpenDescriptors());
      std::fflush(stdout);
    }
    if (count >= ticks) application.quit();
  });
  sampler.start(1);
  QTimer::singleShot(0, [&] {
    window.findChild<QPushButton*>(QString::fromUtf8(kelvorat::controls::kStartButton.data()))->click();
  });
  application.exec();
  return cycle.checkCount() >= ticks ? 0 : 1;
}
