#!/usr/bin/env bash
# Pictures of every page of the main window, drawn on a virtual X display at
# 96 dots per inch, into screenshots/out/.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVORAT_WITH_QT=ON >/dev/null
fi
cmake --build "$build" --target window_screenshot_tool
mkdir -p screenshots/out
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" \
  "$build/bench/window_screenshot_tool" screenshots/out
