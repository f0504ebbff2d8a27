// The program's entry: each case runs ProgramMain in a child process of its own.
#include "monitor/qt/program_main.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

#include "monitor/control_names.h"
#include "qt_test_support.h"

namespace kelvorat {
namespace {

class ProgramMainTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  }
};

using testing::MainWindowWidget;

[[noreturn]] void RunProgram(const HandlerBinder& bind) {
  static char name[] = "kelvorat";
  char* argv[] = {name, nullptr};
  int argc = 1;
  const int result = ProgramMain(argc, argv, bind);
  std::fprintf(stderr, "returned %d\n", result);
  std::exit(result);
}

TEST_F(ProgramMainTest, ClosingTheShownWindowEndsTheLoopWithZero) {
  EXPECT_EXIT(RunProgram([](MonitorWindow&) {
                QTimer::singleShot(0, [] {
                  QWidget* window = MainWindowWidget();
                  if (window != nullptr && window->isVisible()) std::fprintf(stderr, "shown\n");
                  if (window != nullptr) window->close();
                });
                return WindowHandlers{};
              }),
              ::testing::ExitedWithCode(0), "shown\nreturned 0");
}

// The user closes the window while a handler waits in ProcessPendingEvents:
// the handler goes on with a live window and the program ends after it.
TEST_F(ProgramMainTest, CloseDuringAHandlerEndsTheProgramAfterTheHandler) {
  EXPECT_EXIT(RunProgram([](MonitorWindow& window) {
                QTimer::singleShot(0, [] {
                  MainWindowWidget()->findChild<QPushButton*>(QString::fromUtf8("开启监控_按钮"))->click();
                });
                return WindowHandlers{.startClicked = [&window] {
                  QTimer::singleShot(0, [] { MainWindowWidget()->close(); });
                  window.ProcessPendingEvents();
                  window.WriteText(controls::kCheckCountEdit, "1");
                  std::fprintf(stderr, "closed %d, count %s\n", window.IsClosed() ? 1 : 0,
                               window.ReadText(controls::kCheckCountEdit).c_str());
                },
                                       .stopClicked = {},
                                       .timerFired = {}};
              }),
              ::testing::ExitedWithCode(0), "closed 1, count 1\nreturned 0");
}

}  // namespace
}  // namespace kelvorat
