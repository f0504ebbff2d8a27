#!/usr/bin/env bash
# Pictures of the window of both builds, drawn on virtual X displays at 96
# dots per inch: every page and the message box of the Qt build
# (screenshots/out/qt/) and of kelvorat.exe under wine in a Chinese locale
# (screenshots/out/windows-zh/), then the two side by side on one sheet,
# docs/window_qt_and_windows.png.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
windows=${WINDOWS_BUILD_DIR:-build-windows}
qt_out=screenshots/out/qt
win_out=screenshots/out/windows-zh
sheet=docs/window_qt_and_windows.png

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVORAT_WITH_QT=ON >/dev/null
fi
cmake --build "$build" -j2 --target window_screenshot_tool picture_sheet_tool
if [ ! -f "$windows/build.ninja" ]; then
  cmake -S . -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
cmake --build "$windows" -j2 --target window_screenshot_tool

mkdir -p "$qt_out" "$win_out"
rm -f "$qt_out"/*.png "$win_out"/*.png
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" \
  "$build/bench/window_screenshot_tool" "$qt_out"

# wine: a prefix of its own in the Windows build folder, made once, with one
# virtual desktop (wine then draws the window frames itself) and wine's fonts.
export WINEPREFIX="$PWD/$windows/wineprefix-screenshots"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" bash -euo pipefail -c '
  if [ ! -d "$WINEPREFIX" ]; then
    wine wineboot -i >/dev/null 2>&1
    wineserver -w
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wine reg add "HKCU\Software\Wine\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add "HKCU\Software\Wine\Explorer\Desktops" /v Default /d 1024x768 /f >/dev/null 2>&1
    wineserver -w
  fi
  status=0
  LC_ALL=zh_CN.UTF-8 wine "$1/tests/window_screenshot_tool.exe" "$(winepath -w "$PWD/$2")" || status=$?
  wineserver -k 2>/dev/null || true
  exit $status
' screenshots "$windows" "$win_out"

QT_QPA_PLATFORM=offscreen "$build/bench/picture_sheet_tool" "$sheet" "Qt (Linux)" "Win32 (kelvorat.exe, wine)" \
  "基本设置" "$qt_out/page1.png" "$win_out/page-1.png" \
  "帮助" "$qt_out/page2.png" "$win_out/page-2.png" \
  "捐助" "$qt_out/page3.png" "$win_out/page-3.png" \
  "请先填写待检测域名" "$qt_out/message-box.png" "$win_out/message-box.png"
