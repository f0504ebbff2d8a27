// Helpers for the window tests: one QApplication for the whole test program,
// key presses and waiting without QtTest.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>

#include <functional>
#include <ostream>
#include <string_view>

#include "monitor/control_names.h"

namespace kelvorat::testing {

// Creates the program's QApplication on first use (offscreen unless the
// environment names a platform) and keeps it to the end.
inline void EnsureApplication() {
  static QApplication* application = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "window_tests";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  (void)application;
}

inline QString Q(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The program's main window among the top-level widgets, found by its tab
// control; nullptr when none is shown.
inline QWidget* MainWindowWidget() {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->findChild<QObject*>(Q(controls::kTabs))) return top;
  }
  return nullptr;
}

// Processes events until done() holds or timeoutMs passed; returns done().
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return done();
}

// A key press and release sent straight to the widget, as the keyboard would.
inline void PressKey(QWidget* widget, int key, const QString& text = {},
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QCoreApplication::sendEvent(widget, &release);
}

inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar ch : text) PressKey(widget, ch.isLetter() ? ch.toUpper().unicode() : 0, QString(ch));
}

}  // namespace kelvorat::testing

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
