// The yardstick for the program's start: one Qt window with one Chinese
// caption in the main window's default font, probed the same way.
#include <QApplication>
#include <QLabel>

#include "startup_probe.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  QFont font = window.font();
  font.setPixelSize(12);
  window.setFont(font);
  window.setWindowTitle(QStringLiteral("Kelvorat"));
  window.setFixedSize(508, 198);
  auto* caption = new QLabel(QStringLiteral("开启监控"), &window);
  caption->move(8, 8);
  new StartupProbe(&window);
  window.show();
  return QApplication::exec();
}
