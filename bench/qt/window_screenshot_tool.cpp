// Builds the main window as the program does and saves a picture of each
// page, page 1 in the monitoring state, and the message box of a start
// refused for want of a domain, as PNGs into the given folder.
// Usage: window_screenshot_tool [folder [zoom]]; zoom enlarges pixel by pixel.
#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "monitor/control_names.h"
#include "monitor/monitor_texts.h"
#include "monitor/qt/controls.h"
#include "monitor/qt/main_window.h"
#include "monitor/qt/qt_monitor_window.h"
#include "text/codepage.h"

namespace {

int zoom = 1;

bool Save(QWidget& window, const QString& path) {
  QCoreApplication::processEvents();
  QImage picture = window.grab().toImage();
  if (zoom > 1) picture = picture.scaled(picture.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const bool saved = picture.save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots/out");
  if (argc > 2) zoom = std::max(1, QString::fromLocal8Bit(argv[2]).toInt());
  QDir().mkpath(folder);

  kelvorat::MainWindow window;
  kelvorat::QtMonitorWindow operations(window);
  window.show();
  bool ok = true;
  for (int page = 0; page < window.Tabs()->count(); ++page) {
    window.Tabs()->setCurrentIndex(page);
    ok &= Save(window, QStringLiteral("%1/page%2.png").arg(folder).arg(page + 1));
  }

  // What the monitor cycle leaves on page 1 while it runs.
  namespace c = kelvorat::controls;
  window.Tabs()->setCurrentIndex(0);
  operations.WriteText(c::kLastCheckEdit, kelvorat::Utf8ToAnsi("2024年12月25日14时7分9秒"));
  operations.WriteText(c::kCheckCountEdit, "128");
  operations.SetEnabled(c::kStartButton, false);
  operations.SetEnabled(c::kDomainEdit, false);
  ok &= Save(window, QStringLiteral("%1/page1_monitoring.png").arg(folder));

  // The box as the program shows it; it is photographed and dismissed from
  // inside its own event loop.
  bool boxSaved = false;
  QTimer::singleShot(500, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      boxSaved = Save(*box, QStringLiteral("%1/message-box.png").arg(folder));
      box->close();
    }
  });
  operations.ShowMessageBox(kelvorat::monitor_texts::kFillInDomain, kelvorat::monitor_texts::kNoticeTitle);
  return ok && boxSaved ? 0 : 1;
}
