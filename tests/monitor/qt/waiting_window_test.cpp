// The window while a check waits on a silent service: it keeps painting, and
// user input (a click, a key, the close button) waits in the window system's
// queue until the tick's pending-events step, where it is handled as always.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBackingStore>
#include <QImage>
#include <QLineEdit>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <chrono>
#include <functional>
#include <string>

#include "http/platform/curl/wait_hook.h"
#include "live_monitor.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::CountRequests;
using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;

// The check waits about two seconds for a service that never answers.
constexpr wininet::CurlTimeouts kSilentWait{2000ms, 2s, 4s};

// Runs the window layer's wait hook and then the test's step for that wait
// (numbered from 1), for as long as it exists.
class WaitSteps {
 public:
  explicit WaitSteps(std::function<void(int wait)> step)
      : step_(std::move(step)), windowHook_(wininet::curl::SetWaitHook(&WaitSteps::Hook)) {
    current_ = this;
  }
  ~WaitSteps() {
    wininet::curl::SetWaitHook(windowHook_);
    current_ = nullptr;
  }
  WaitSteps(const WaitSteps&) = delete;
  WaitSteps& operator=(const WaitSteps&) = delete;

  [[nodiscard]] bool windowHooked() const { return windowHook_ != nullptr; }
  [[nodiscard]] int waits() const { return waits_; }
  // True while the window layer's hook runs: inside a request's wait.
  [[nodiscard]] static bool InWait() { return current_ != nullptr && current_->inWait_; }

 private:
  static void Hook() {
    WaitSteps* self = current_;
    ++self->waits_;
    self->inWait_ = true;
    if (self->windowHook_ != nullptr) self->windowHook_();
    self->inWait_ = false;
    self->step_(self->waits_);
  }

  static inline WaitSteps* current_ = nullptr;
  std::function<void(int)> step_;
  wininet::curl::WaitHook windowHook_;
  int waits_ = 0;
  bool inWait_ = false;
};

// Counts the calls of a signal, and those made inside a request's wait.
struct Calls {
  int total = 0;
  int inWait = 0;
  void operator()() {
    ++total;
    inWait += WaitSteps::InWait();
  }
};

// The pixels the window system shows for the window: its backing store.
QImage* ShownPixels(QWidget& window) {
  QBackingStore* store = window.backingStore();
  if (store == nullptr || store->paintDevice()->devType() != QInternal::Image) return nullptr;
  return static_cast<QImage*>(store->paintDevice());
}

// Another window's pixels, left behind where this one should be.
const QRgb kForeign = qRgb(255, 0, 255);

int ForeignPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == kForeign;
  }
  return n;
}

// Counts the expose events the window receives.
class ExposeCounter : public QObject {
 public:
  explicit ExposeCounter(QWindow* window) { window->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    count += event->type() == QEvent::Expose;
    return false;
  }
  int count = 0;
};

struct Services {
  LoopbackServer check{"test_http_server.py", {"--answer-as", "/silent"}};
  LoopbackServer notify{"test_http_server.py", {"--answer-as", "/body?hex=6f6b"}};
};

// Asked to repaint, every visible control paints over what another window
// left in the window's pixels; exposed, the window system's expose reaches
// the window (which then shows those pixels) while the check still waits.
TEST(WaitingWindowTest, PaintsWhileTheCheckWaits) {
  Services services;
  ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
  LiveMonitor monitor(HostOf(services.check), HostOf(services.notify), kSilentWait);
  QCoreApplication::processEvents();
  QImage* shown = ShownPixels(monitor.window());
  ASSERT_NE(shown, nullptr);
  ExposeCounter exposes(monitor.window().windowHandle());

  int foreignLeft = -1;    // after the wait that followed the request to repaint
  int exposedAtWait = 0;
  WaitSteps steps([&](int wait) {
    if (wait == 3) {
      shown->fill(kForeign);
      monitor.window().update();
      for (QWidget* control : monitor.window().findChildren<QWidget*>()) control->update();
    } else if (wait == 4) {
      foreignLeft = ForeignPixels(*shown);
      exposes.count = 0;
      QWindowSystemInterface::handleExposeEvent(monitor.window().windowHandle(),
                                                QRect(QPoint(), monitor.window().size()));
    } else if (wait == 5) {
      exposedAtWait = exposes.count;
    }
  });
  ASSERT_TRUE(steps.windowHooked());
  monitor.StartButton()->click();

  EXPECT_EQ(CountRequests(services.check, "GET /k4tq7mbh/wxcheck?"), 1u);
  EXPECT_EQ(monitor.cycle().checkCount, 1);
  EXPECT_GT(steps.waits(), 20);  // the check still waited long after
  EXPECT_EQ(foreignLeft, 0);
  EXPECT_EQ(exposedAtWait, 1);
}

TEST(WaitingWindowTest, InputDuringTheCheckIsHandledAtThePendingEventsStep) {
  struct Row {
    const char* name;
    std::function<void(LiveMonitor&)> give;
    std::function<bool(LiveMonitor&)> tookEffect;
  };
  const Row rows[] = {
      {"a click on 停止监控",
       [](LiveMonitor& monitor) {
         QWindow* window = monitor.window().windowHandle();
         QAbstractButton* stop = monitor.StopButton();
         const QPointF local = stop->mapTo(&monitor.window(), stop->rect().center());
         const QPointF global = monitor.window().mapToGlobal(local);
         QWindowSystemInterface::handleMouseEvent(window, local, global, Qt::LeftButton, Qt::LeftButton,
                                                  QEvent::MouseButtonPress);
         QWindowSystemInterface::handleMouseEvent(window, local, global, Qt::NoButton, Qt::LeftButton,
                                                  QEvent::MouseButtonRelease);
       },
       [](LiveMonitor& monitor) { return monitor.cycle().monitorStopped == 1; }},
      {"a key typed into 喵码_编辑框",
       [](LiveMonitor& monitor) {
         QWindow* window = monitor.window().windowHandle();
         QWindowSystemInterface::handleKeyEvent(window, QEvent::KeyPress, Qt::Key_X, Qt::NoModifier,
                                                QStringLiteral("x"));
         QWindowSystemInterface::handleKeyEvent(window, QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier,
                                                QStringLiteral("x"));
       },
       [](LiveMonitor& monitor) { return monitor.Shown(controls::kCodeEdit) == "Rb8nQe2x"; }},
  };
  for (const Row& row : rows) {
    Services services;
    ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
    LiveMonitor monitor(HostOf(services.check), HostOf(services.notify), kSilentWait);
    auto* code = monitor.Find<QLineEdit>(controls::kCodeEdit);
    monitor.window().activateWindow();
    code->setFocus();
    code->end(false);
    ASSERT_TRUE(testing::WaitUntil([&] { return code->hasFocus(); })) << row.name;
    Calls clicks, edits;
    QObject::connect(monitor.StopButton(), &QAbstractButton::clicked, std::ref(clicks));
    QObject::connect(code, &QLineEdit::textEdited, std::ref(edits));

    bool effectBefore = true;
    WaitSteps steps([&](int wait) {
      if (wait != 3) return;
      effectBefore = row.tookEffect(monitor);
      row.give(monitor);
    });
    monitor.StartButton()->click();

    EXPECT_GT(steps.waits(), 20) << row.name;
    EXPECT_FALSE(effectBefore) << row.name;
    EXPECT_EQ(clicks.inWait + edits.inWait, 0) << row.name;
    EXPECT_EQ(clicks.total + edits.total, 1) << row.name;
    EXPECT_TRUE(row.tookEffect(monitor)) << row.name;
    EXPECT_EQ(monitor.cycle().checkCount, 1) << row.name;
    // The silent check counts as "blocked": the alert goes out after the
    // pending-events step, with the code as it stands by then.
    const std::string trigger = "GET /trigger?id=" + monitor.Shown(controls::kCodeEdit) + "&";
    EXPECT_EQ(CountRequests(services.notify, trigger), 1u) << row.name;
  }
}

// Nothing re-enters the cycle from the wait: the timer coming due and a click
// queued by the program both wait for the pending-events step, where the
// click takes effect and the timer event is refused inside the running tick.
TEST(WaitingWindowTest, TimerAndQueuedClickDuringTheCheckRunNoHandlerInTheWait) {
  Services services;
  ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
  LiveMonitor monitor(HostOf(services.check), HostOf(services.notify), kSilentWait);
  // The cycle's own handlers, counted.
  Calls stops, ticks;
  WindowHandlers handlers = monitor.cycle().Handlers();
  handlers.stopClicked = [&stops, stop = handlers.stopClicked] { stops(), stop(); };
  handlers.timerFired = [&ticks, tick = handlers.timerFired] { ticks(), tick(); };
  monitor.window().BindHandlers(handlers);

  WaitSteps steps([&](int wait) {
    if (wait != 3) return;
    monitor.Timer()->start(20);
    QMetaObject::invokeMethod(monitor.StopButton(), &QAbstractButton::click, Qt::QueuedConnection);
  });
  monitor.StartButton()->click();

  EXPECT_GT(steps.waits(), 20);
  EXPECT_EQ(ticks.inWait, 0);
  EXPECT_GE(ticks.total, 1);
  EXPECT_EQ(stops.inWait, 0);
  EXPECT_EQ(stops.total, 1);
  EXPECT_EQ(monitor.cycle().monitorStopped, 1);
  EXPECT_EQ(monitor.cycle().checkCount, 1);
  EXPECT_EQ(CountRequests(services.check, "GET /k4tq7mbh/wxcheck?"), 1u);
}

// As when closed during the check today: the tick ends at its pending-events
// step, sends no alert and leaves the closed window as it was.
TEST(WaitingWindowTest, TheCloseButtonDuringTheCheckTakesEffectAtThePendingEventsStep) {
  Services services;
  ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
  LiveMonitor monitor(HostOf(services.check), HostOf(services.notify), kSilentWait);
  QCoreApplication::processEvents();
  const std::string countShown = monitor.Shown(controls::kCheckCountEdit);

  Calls closes;
  QObject::connect(&monitor.window(), &MainWindow::Closed, std::ref(closes));
  WaitSteps steps([&](int wait) {
    if (wait == 3) QWindowSystemInterface::handleCloseEvent(monitor.window().windowHandle());
  });
  monitor.StartButton()->click();

  EXPECT_GT(steps.waits(), 20);
  EXPECT_EQ(closes.inWait, 0);
  EXPECT_EQ(closes.total, 1);
  EXPECT_TRUE(monitor.window().IsClosed());
  EXPECT_EQ(monitor.cycle().checkCount, 1);
  EXPECT_EQ(CountRequests(services.check, "GET /k4tq7mbh/wxcheck?"), 1u);
  EXPECT_EQ(CountRequests(services.notify, "GET /trigger?"), 0u);
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), countShown);
  EXPECT_FALSE(monitor.Timer()->isActive());
  EXPECT_TRUE(monitor.StartButton()->isEnabled());
}

}  // namespace
}  // namespace kelvorat
