// The program's entry: the Qt application, the main window and its event loop.
#pragma once

#include <functional>

#include "monitor/monitor_window.h"

namespace kelvorat {

// Gives the handlers for the window's events; called once, before the window
// is shown, with the window operations the handlers may keep for the whole run.
using HandlerBinder = std::function<WindowHandlers(MonitorWindow& window)>;

// Starts Qt, shows the main window, binds the handlers bind returns (none when
// bind is empty) and runs the event loop until the window is closed; returns 0.
// The command line is not read: only argv[0] reaches Qt.
int ProgramMain(int& argc, char** argv, const HandlerBinder& bind);

}  // namespace kelvorat
