// The window while a check waits on a silent service: it keeps painting (on
// a real X display too, where another program's window covered it), and user
// input (a click, a key, the close button), timers and handlers wait until
// the tick's pending-events step, where they are handled as always.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QBackingStore>
#include <QImage>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QScreen>
#include <QWindow>
#include <qpa/qwindowsysteminterface.h>

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "http/platform/wait_hook.h"
#include "live_monitor.h"
#include "support/wait_steps.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::Calls;
using testing::CountRequests;
using testing::HostOf;
using testing::LiveMonitor;
using testing::LoopbackServer;
using testing::WaitSteps;

// The check waits about two seconds for a service that never answers.
constexpr wininet::TransferBounds kSilentWait{2000ms, 2s, 4s, std::size_t{1} << 20};

// The window's pixels as Qt keeps them for the screen: its backing store.
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
  EXPECT_EQ(monitor.cycle().checkCount(), 1);
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
       [](LiveMonitor& monitor) { return monitor.cycle().monitorStopped() == 1; }},
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
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
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
  EXPECT_EQ(monitor.cycle().monitorStopped(), 1);
  EXPECT_EQ(monitor.cycle().checkCount(), 1);
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
  EXPECT_EQ(monitor.cycle().checkCount(), 1);
  EXPECT_EQ(CountRequests(services.check, "GET /k4tq7mbh/wxcheck?"), 1u);
  EXPECT_EQ(CountRequests(services.notify, "GET /trigger?"), 0u);
  EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), countShown);
  EXPECT_FALSE(monitor.Timer()->isActive());
  EXPECT_TRUE(monitor.StartButton()->isEnabled());
}

// A program started in the background, ended (and reaped) with the object.
class Child {
 public:
  explicit Child(std::vector<std::string> command) {
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, argv[0], nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~Child() { Stop(); }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }
  [[nodiscard]] bool started() const { return pid_ > 0; }

 private:
  pid_t pid_ = -1;
};

// Share of the pixels of two same-sized pictures that differ.
double Differing(const QImage& a, const QImage& b) {
  if (a.size() != b.size() || a.isNull()) return 1.0;
  const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
  long n = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) n += x.pixel(col, row) != y.pixel(col, row);
  }
  return static_cast<double>(n) / (x.width() * x.height());
}

// On a real X display, as a person sees it: while the check waits, another
// program's window (xlogo) covers Kelvorat's and goes away again. Kelvorat's
// pixels on the screen must be its own again before the check is over.
TEST(WaitingWindowOnDisplayTest, RepaintsWhatAnotherWindowCoveredWhileTheCheckWaits) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // One virtual display for the parent; the child (this test run again in a
  // fresh process, with its own QApplication on that display) finds it set.
  std::unique_ptr<Child> display;
  if (qEnvironmentVariableIsEmpty("KELVORAT_TEST_DISPLAY")) {
    int n = 150;
    struct stat st {};
    while (n < 250 && (stat(("/tmp/.X" + std::to_string(n) + "-lock").c_str(), &st) == 0 ||
                       stat(("/tmp/.X11-unix/X" + std::to_string(n)).c_str(), &st) == 0)) {
      ++n;
    }
    display = std::make_unique<Child>(std::vector<std::string>{
        "Xvfb", ":" + std::to_string(n), "-screen", "0", "1024x768x24", "-dpi", "96", "-nolisten", "tcp"});
    ASSERT_TRUE(display->started());
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(n);
    for (int i = 0; i < 100 && stat(socket.c_str(), &st) != 0; ++i) usleep(50 * 1000);
    ASSERT_EQ(stat(socket.c_str(), &st), 0) << "Xvfb did not start";
    qputenv("KELVORAT_TEST_DISPLAY", QByteArray(":") + QByteArray::number(n));
  }

  auto run = [] {
    qputenv("QT_QPA_PLATFORM", "xcb");
    qputenv("DISPLAY", qgetenv("KELVORAT_TEST_DISPLAY"));
    testing::EnsureApplication();
    Services services;
    LiveMonitor monitor(HostOf(services.check), HostOf(services.notify), {2000ms, 5s, 8s});
    QWidget& window = monitor.window();
    testing::WaitUntil([&] { return window.windowHandle()->isExposed(); });
    testing::WaitUntil([] { return false; }, 300);
    const QRect area = window.geometry();
    auto onScreen = [&] { return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                               area.width(), area.height())
                                     .toImage(); };
    const std::string geometry = std::to_string(area.width()) + "x" + std::to_string(area.height()) + "+" +
                                 std::to_string(area.x()) + "+" + std::to_string(area.y());
    std::unique_ptr<Child> cover;
    double covered = 0, left = 1;
    QElapsedTimer clock;
    WaitSteps steps([&](int wait) {
      if (wait == 3) {
        cover = std::make_unique<Child>(std::vector<std::string>{"xlogo", "-geometry", geometry});
        clock.start();
      } else if (cover != nullptr && cover->started() && clock.elapsed() < 3000) {
        covered = std::max(covered, Differing(onScreen(), window.grab().toImage()));
        if (covered > 0.3) {
          cover->Stop();
          cover.reset();
          clock.restart();
        }
      } else if (cover == nullptr && clock.isValid() && clock.elapsed() > 500 && left == 1) {
        left = Differing(onScreen(), window.grab().toImage());
      }
    });
    monitor.StartButton()->click();
    std::fprintf(stderr, "covered %.0f%%, left wrong %.0f%% of the window\n", covered * 100, left * 100);
    std::exit(covered > 0.3 && left < 0.02 ? 0 : 1);
  };
  EXPECT_EXIT(run(), ::testing::ExitedWithCode(0), "covered");
}

}  // namespace
}  // namespace kelvorat
