// The program's entry on Windows: the common controls, the main window and
// its event loop.
#pragma once

#include <functional>

#include "monitor/monitor_window.h"

namespace kelvorat {

// Gives the handlers for the window's events; called once, before the window
// is shown, with the window operations the handlers may keep for the whole run.
using HandlerBinder = std::function<WindowHandlers(MonitorWindow& window)>;

// Starts the common controls, shows the main window, binds the handlers bind
// returns (none when bind is empty) and runs the event loop until the window
// is closed; returns 0. When the window cannot be created it reports so in a
// message box and returns 1. The command line is not read.
int ProgramMain(int& argc, char** argv, const HandlerBinder& bind);

}  // namespace kelvorat
