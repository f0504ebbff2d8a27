// The window contract (support/window_contract.h) over the fake window the
// monitor tests use, so that the fake cannot drift from the real windows.
#include <string>

#include "support/fake_window.h"
#include "support/window_contract.h"
#include "text/codepage.h"

namespace kelvorat::testing {
namespace {

class FakeWindowUnderTest {
 public:
  MonitorWindow& ops() { return window_; }
  void UserCloses() { window_.Close(); }
  void QueueStopClick() { window_.pendingEvents.push_back([this] { ++stopClicks_; }); }
  int stopClicks() const { return stopClicks_; }
  bool IsEnabled(std::string_view control) const { return window_.IsEnabled(control); }
  void SelectNothing(std::string_view list) { window_.selectedIndex[std::string(list)] = -1; }
  void UserTypes(std::string_view box, std::string_view utf8) { window_.texts[std::string(box)] = Utf8ToAnsi(utf8); }

 private:
  FakeWindow window_;
  int stopClicks_ = 0;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Fake, WindowContractTest, FakeWindowUnderTest);

}  // namespace
}  // namespace kelvorat::testing
