// The Win32 window while a check waits on a silent service: it keeps
// painting, and user input (a click, a key, the close button), posted clicks
// and the handlers wait until the tick's pending-events step, where they are
// handled as always.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "http/platform/transfer_bounds.h"
#include "http/platform/wait_hook.h"
#include "monitor/control_names.h"
#include "monitor/monitor_cycle.h"
#include "monitor/service_urls.h"
#include "monitor/win32/main_window.h"
#include "monitor/win32/win32_monitor_window.h"
#include "support/loopback_server.h"
#include "support/service_answers.h"
#include "support/wait_steps.h"
#include "win32_test_support.h"

namespace kelvorat {
namespace {

using namespace std::chrono_literals;
using testing::Calls;
using testing::LoopbackServer;
using testing::WaitSteps;

// The check waits about two seconds for a service that never answers.
constexpr wininet::TransferBounds kSilentWait{2000ms, 2s, 4s, std::size_t{1} << 20};

using testing::CountRequests;
std::string Local(const LoopbackServer& server) { return testing::HostOf(server); }

const std::string kCheck = "GET /k4tq7mbh/wxcheck?";
const std::string kTrigger = "GET /trigger?";

struct Services {
  LoopbackServer check{"test_http_server.py", {"--answer-as", "/silent"}};
  LoopbackServer notify{"test_http_server.py", {"--answer-as", "/body?hex=6f6b"}};
};

// The real window and cycle, pointed at the two services; the cycle's stop
// and close handling counted.
class LiveWin32Monitor {
 public:
  explicit LiveWin32Monitor(const Services& services)
      : previousBounds_(wininet::SetTransferBounds(kSilentWait)),
        cycle_(ops_, ServiceHosts{Local(services.check), Local(services.notify)}, kSixtySecondsMs) {
    testing::EnsureWindowing();
    created_ = window_.Create(GetModuleHandleW(nullptr));
    WindowHandlers handlers = cycle_.Handlers();
    handlers.stopClicked = [this, stop = handlers.stopClicked] { stops(), stop(); };
    window_.BindHandlers(handlers);
    window_.Show();
    SetForegroundWindow(window_.Handle());
    window_.ProcessPendingEvents();
  }
  ~LiveWin32Monitor() {
    testing::DrainQuit();
    wininet::SetTransferBounds(previousBounds_);
  }

  [[nodiscard]] bool created() const { return created_; }
  HWND Handle() const { return window_.Handle(); }
  HWND Control(std::string_view name) const { return window_.Control(name); }
  // The button's click as its parent hears it; the focus stays where it is.
  void Click(std::string_view button) {
    HWND control = Control(button);
    SendMessageW(window_.Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
  }
  std::string Shown(std::string_view control) { return ops_.ReadText(control); }
  win32::MainWindow& window() { return window_; }
  MonitorCycle& cycle() { return cycle_; }

  Calls stops;

 private:
  wininet::TransferBounds previousBounds_;
  win32::MainWindow window_;
  win32::Win32MonitorWindow ops_{window_};
  MonitorCycle cycle_;
  bool created_ = false;
};

// A left click at a point of the screen, as the mouse gives it: through the
// system's input queue, to the window under the pointer.
void ClickAt(POINT point) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = point.x * 65535 / (width - 1);
    input.mi.dy = point.y * 65535 / (height - 1);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  }
  inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  SendInput(3, inputs, sizeof(INPUT));
}

POINT CentreOf(HWND control) {
  RECT rect;
  GetWindowRect(control, &rect);
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A point of the caption's close button, found by asking the window.
POINT CloseButtonOf(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  for (int y = rect.top + 2; y < rect.top + 40; y += 2) {
    for (int x = rect.right - 2; x > rect.right - 80; x -= 2) {
      if (SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE) return {x, y};
    }
  }
  return {-1, -1};
}

// Another window's pixels, left behind where this one should be.
constexpr COLORREF kForeign = RGB(255, 0, 255);

// Pixels of the client area (a grid of every third one), read from the
// screen as another thread sees it; children are not clipped out.
int ForeignPixels(HWND window) {
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
  RECT area;
  GetClientRect(window, &area);
  int n = 0;
  for (int y = 0; y < area.bottom; y += 3) {
    for (int x = 0; x < area.right; x += 3) n += GetPixel(dc, x, y) == kForeign;
  }
  ReleaseDC(window, dc);
  return n;
}

void CoverWithForeignPixels(HWND window) {
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
  RECT area;
  GetClientRect(window, &area);
  HBRUSH brush = CreateSolidBrush(kForeign);
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  ReleaseDC(window, dc);
}

// Another thread draws over the window (as another window left its pixels
// there) and asks it to repaint, window and controls; the window's thread
// paints it back while the check still waits.
TEST(WaitingWin32WindowTest, PaintsWhileTheCheckWaits) {
  Services services;
  ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
  LiveWin32Monitor monitor(services);
  ASSERT_TRUE(monitor.created());
  const HWND window = monitor.Handle();

  std::atomic<int> foreignDrawn{-1}, foreignLeft{-1};
  std::atomic<bool> seen{false};
  int waitsAfterSeen = 0;
  std::thread other;
  WaitSteps steps([&](int wait) {
    if (wait == 3) {
      other = std::thread([&] {
        CoverWithForeignPixels(window);
        foreignDrawn = ForeignPixels(window);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        std::this_thread::sleep_for(300ms);
        foreignLeft = ForeignPixels(window);
        seen = true;
      });
    }
    waitsAfterSeen += seen;
  });
  ASSERT_TRUE(steps.windowHooked());
  monitor.Click(controls::kStartButton);
  if (other.joinable()) other.join();

  EXPECT_EQ(CountRequests(services.check, kCheck), 1u);
  EXPECT_EQ(monitor.cycle().checkCount(), 1);
  EXPECT_GT(foreignDrawn, 1000);   // the drawing reached the screen
  EXPECT_EQ(foreignLeft, 0);
  EXPECT_GT(waitsAfterSeen, 10);   // the check still waited long after
}

TEST(WaitingWin32WindowTest, InputDuringTheCheckIsHandledAtThePendingEventsStep) {
  struct Row {
    const char* name;
    std::function<void(LiveWin32Monitor&)> give;
    std::function<bool(LiveWin32Monitor&)> tookEffect;
  };
  auto stopped = [](LiveWin32Monitor& monitor) { return monitor.cycle().monitorStopped() == 1; };
  const Row rows[] = {
      {"a mouse click on 停止监控",
       [](LiveWin32Monitor& monitor) { ClickAt(CentreOf(monitor.Control(controls::kStopButton))); }, stopped},
      {"a click posted to 停止监控",
       [](LiveWin32Monitor& monitor) { PostMessageW(monitor.Control(controls::kStopButton), BM_CLICK, 0, 0); },
       stopped},
      {"a key typed into 喵码_编辑框",
       [](LiveWin32Monitor&) {
         INPUT keys[2] = {};
         for (INPUT& key : keys) {
           key.type = INPUT_KEYBOARD;
           key.ki.wVk = 'X';
         }
         keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
         SendInput(2, keys, sizeof(INPUT));
       },
       [](LiveWin32Monitor& monitor) { return monitor.Shown(controls::kCodeEdit) == "Rb8nQe2x"; }},
  };
  for (const Row& row : rows) {
    Services services;
    ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
    LiveWin32Monitor monitor(services);
    ASSERT_TRUE(monitor.created());
    HWND code = monitor.Control(controls::kCodeEdit);
    SetFocus(code);
    SendMessageW(code, EM_SETSEL, 100, 100);  // the caret after the code

    bool effectBefore = true, effectInWait = true;
    WaitSteps steps([&](int wait) {
      if (wait == 3) {
        effectBefore = row.tookEffect(monitor);
        row.give(monitor);
      } else if (wait == 20) {
        effectInWait = row.tookEffect(monitor);
      }
    });
    monitor.Click(controls::kStartButton);

    EXPECT_GT(steps.waits(), 20) << row.name;
    EXPECT_FALSE(effectBefore) << row.name;
    EXPECT_FALSE(effectInWait) << row.name;
    EXPECT_EQ(monitor.stops.inWait, 0) << row.name;
    EXPECT_TRUE(row.tookEffect(monitor)) << row.name;
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    // The silent check counts as "blocked": the alert goes out after the
    // pending-events step, with the code as it stands by then.
    const std::string trigger = "GET /trigger?id=" + monitor.Shown(controls::kCodeEdit) + "&";
    EXPECT_EQ(CountRequests(services.notify, trigger), 1u) << row.name;
  }
}

// As when closed during the check today: the tick ends at its pending-events
// step, sends no alert and leaves the closed window as it was.
TEST(WaitingWin32WindowTest, TheCloseButtonDuringTheCheckTakesEffectAtThePendingEventsStep) {
  struct Row {
    const char* name;
    std::function<void(HWND window, POINT closeButton)> give;
  };
  const Row rows[] = {
      {"a mouse click on the close button", [](HWND, POINT closeButton) { ClickAt(closeButton); }},
      {"the window menu's close", [](HWND window, POINT) { PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
  };
  for (const Row& row : rows) {
    Services services;
    ASSERT_TRUE(services.check.port() != 0 && services.notify.port() != 0);
    LiveWin32Monitor monitor(services);
    ASSERT_TRUE(monitor.created());
    const std::string countShown = monitor.Shown(controls::kCheckCountEdit);
    const POINT closeButton = CloseButtonOf(monitor.Handle());
    ASSERT_GE(closeButton.x, 0) << row.name;

    bool closedInWait = true;
    WaitSteps steps([&](int wait) {
      if (wait == 3) row.give(monitor.Handle(), closeButton);
      if (wait == 20) closedInWait = monitor.window().IsClosed();
    });
    monitor.Click(controls::kStartButton);

    EXPECT_GT(steps.waits(), 20) << row.name;
    EXPECT_FALSE(closedInWait) << row.name;
    EXPECT_TRUE(monitor.window().IsClosed()) << row.name;
    EXPECT_EQ(monitor.cycle().checkCount(), 1) << row.name;
    EXPECT_EQ(CountRequests(services.check, kCheck), 1u) << row.name;
    EXPECT_EQ(CountRequests(services.notify, kTrigger), 0u) << row.name;
    EXPECT_EQ(monitor.Shown(controls::kCheckCountEdit), countShown) << row.name;
    EXPECT_EQ(monitor.window().TimerPeriod(), 0) << row.name;
    EXPECT_TRUE(IsWindowEnabled(monitor.Control(controls::kStartButton))) << row.name;
  }
}

}  // namespace
}  // namespace kelvorat
