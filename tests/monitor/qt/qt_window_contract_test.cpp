// The window contract (support/window_contract.h) over the Qt window, offscreen.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "monitor/qt/main_window.h"
#include "monitor/qt/qt_monitor_window.h"
#include "qt_test_support.h"
#include "support/window_contract.h"

namespace kelvorat::testing {
namespace {

class QtWindowUnderTest {
 public:
  QtWindowUnderTest() {
    window_.BindHandlers({.startClicked = {}, .stopClicked = [this] { ++stopClicks_; }, .timerFired = {}});
    window_.show();
  }
  MonitorWindow& ops() { return ops_; }
  void UserCloses() { window_.close(); }
  void QueueStopClick() {
    QMetaObject::invokeMethod(Find<QPushButton>(controls::kStopButton), "click", Qt::QueuedConnection);
  }
  int stopClicks() const { return stopClicks_; }
  bool IsEnabled(std::string_view control) const { return Find<QWidget>(control)->isEnabled(); }
  void SelectNothing(std::string_view list) { Find<QComboBox>(list)->setCurrentIndex(-1); }
  void UserTypes(std::string_view box, std::string_view utf8) { Find<QLineEdit>(box)->setText(Q(utf8)); }

 private:
  template <typename T>
  T* Find(std::string_view name) const {
    return window_.findChild<T*>(Q(name));
  }

  // The application exists before the first widget.
  bool application_ = (EnsureApplication(), true);
  MainWindow window_;
  QtMonitorWindow ops_{window_};
  int stopClicks_ = 0;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, WindowContractTest, QtWindowUnderTest);

}  // namespace
}  // namespace kelvorat::testing
