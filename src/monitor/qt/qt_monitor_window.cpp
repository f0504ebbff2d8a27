// The monitor cycle's window operations, each on the real widget of its name.
#include "monitor/qt/qt_monitor_window.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include "http/platform/wait_hook.h"
#include "monitor/qt/main_window.h"
#include "monitor/qt/windows_look_style.h"
#include "text/codepage.h"

namespace kelvorat {
namespace {

// The windows that exist, latest first (each links to the one made before
// it); the wait hook serves the latest. The hook found before the first one
// is put back when the last one goes.
QtMonitorWindow* waitingWindow = nullptr;
void (*hookBeforeWindows)() = nullptr;

QString FromAnsi(std::string_view ansi) {
  const Text utf8 = AnsiToUtf8(ansi);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Text ToAnsi(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return Utf8ToAnsi(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace

QtMonitorWindow::QtMonitorWindow(MainWindow& window) : window_(window), previous_(waitingWindow) {
  const wininet::WaitHook before = wininet::SetWaitHook(&QtMonitorWindow::PaintWhileWaiting);
  if (previous_ == nullptr) hookBeforeWindows = before;
  waitingWindow = this;
}

// Windows may go in any order.
QtMonitorWindow::~QtMonitorWindow() {
  for (QtMonitorWindow** link = &waitingWindow; *link != nullptr; link = &(*link)->previous_) {
    if (*link == this) {
      *link = previous_;
      break;
    }
  }
  if (waitingWindow == nullptr) wininet::SetWaitHook(hookBeforeWindows);
}

// Window-system events (expose, the window manager's ping, moves) and posted
// ones (repaint requests) only. User input, the close button included, stays
// queued for the next pending-events step, and so do timer events; a handler
// reached any other way is put off to then as well (MainWindow::Call), so
// nothing re-enters the monitor cycle from here.
void QtMonitorWindow::PaintWhileWaiting() {
  QtMonitorWindow* self = waitingWindow;
  if (self == nullptr || self->window_.IsClosed()) return;
  const MainWindow::HandlersHeld held(self->window_);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::X11ExcludeTimers);
}

Text QtMonitorWindow::ReadText(std::string_view control) {
  QObject* object = window_.Control(control);
  if (auto* line = qobject_cast<QLineEdit*>(object)) return ToAnsi(line->text());
  if (auto* text = qobject_cast<QPlainTextEdit*>(object)) {
    return ToAnsi(text->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
  }
  if (auto* list = qobject_cast<QComboBox*>(object)) return ToAnsi(list->currentText());
  if (auto* button = qobject_cast<QAbstractButton*>(object)) return ToAnsi(button->text());
  if (auto* group = qobject_cast<QGroupBox*>(object)) return ToAnsi(group->title());
  return {};
}

void QtMonitorWindow::WriteText(std::string_view control, std::string_view text) {
  QObject* object = window_.Control(control);
  if (auto* line = qobject_cast<QLineEdit*>(object)) {
    line->setText(FromAnsi(text));
  } else if (auto* multi = qobject_cast<QPlainTextEdit*>(object)) {
    multi->setPlainText(FromAnsi(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
    button->setText(FromAnsi(text));
  } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
    group->setTitle(FromAnsi(text));
  }
}

int QtMonitorWindow::SelectedIndex(std::string_view control) {
  auto* list = qobject_cast<QComboBox*>(window_.Control(control));
  return list == nullptr ? -1 : list->currentIndex();
}

Text QtMonitorWindow::ShownText(std::string_view control) {
  auto* list = qobject_cast<QComboBox*>(window_.Control(control));
  return list == nullptr ? Text() : ToAnsi(list->currentText());
}

void QtMonitorWindow::SetEnabled(std::string_view control, bool enabled) {
  if (auto* widget = qobject_cast<QWidget*>(window_.Control(control))) widget->setEnabled(enabled);
}

void QtMonitorWindow::SetTimerPeriod(std::string_view timer, int milliseconds) {
  auto* qtimer = qobject_cast<QTimer*>(window_.Control(timer));
  if (qtimer == nullptr || window_.IsClosed()) return;
  if (milliseconds <= 0) {
    qtimer->stop();
  } else if (!qtimer->isActive() || qtimer->interval() != milliseconds) {
    qtimer->start(milliseconds);  // restarts: the first event one full period from now
  }
}

int QtMonitorWindow::TimerPeriod(std::string_view timer) const {
  auto* qtimer = qobject_cast<QTimer*>(window_.Control(timer));
  return qtimer != nullptr && qtimer->isActive() ? qtimer->interval() : 0;
}

void QtMonitorWindow::ShowMessageBox(std::string_view text, std::string_view title) {
  if (window_.IsClosed()) return;
  // No owner window, modal for the whole program.
  QMessageBox box(QMessageBox::NoIcon, FromAnsi(title), FromAnsi(text), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  // As on a Chinese Windows: "确定", no picture on the button, centred.
  box.setStyle(WindowsLookStyle::Instance());
  QAbstractButton* ok = box.button(QMessageBox::Ok);
  ok->setText(QStringLiteral("确定"));
  ok->setIcon(QIcon());
  box.exec();
}

void QtMonitorWindow::SetFocus(std::string_view control) {
  if (auto* widget = qobject_cast<QWidget*>(window_.Control(control))) widget->setFocus(Qt::OtherFocusReason);
}

// Deferred deletions stay with the outer event loop, as Qt does by default:
// nothing is deleted under a handler that is still running.
void QtMonitorWindow::ProcessPendingEvents() {
  if (window_.IsClosed()) return;
  // Input held back while a request waited has already been seen by the
  // event dispatcher, which (with glib) looks at the window system's queue
  // again only once woken: wake it, so that everything waiting is handled.
  if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance()) dispatcher->wakeUp();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool QtMonitorWindow::IsClosed() const { return window_.IsClosed(); }

}  // namespace kelvorat
