#!/usr/bin/env bash
# The Windows build: cross-compiles kelvorat.exe and the Windows test programs
# with MinGW-w64 and runs the tests under wine, in a fresh wine prefix inside
# the build directory. The HTTP tests reach the loopback servers of tools/
# through tools/server_launcher.py, started here on the Linux side.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

scripts/install-deps.sh

build=${WINDOWS_BUILD_DIR:-build-windows}
jobs=2
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
cmake --build "$build" -j"$jobs"

export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no .NET or Gecko installer prompts
rm -rf "$WINEPREFIX"
wine wineboot -i >/dev/null 2>&1
wineserver -w

pids=()
cleanup() {
  if ((${#pids[@]})); then kill "${pids[@]}" 2>/dev/null || true; fi
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

python3 -u tools/server_launcher.py >"$build/launcher.out" 2>/dev/null &
pids+=("$!")
for _ in $(seq 1 50); do
  [ -s "$build/launcher.out" ] && break
  sleep 0.1
done
KELVORAT_LAUNCHER_PORT=$(head -1 "$build/launcher.out")
export KELVORAT_LAUNCHER_PORT

status=0
echo "== tests (Windows build, under wine)"
xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
  ctest --test-dir "$build" --output-on-failure -j"$jobs" || status=1

echo "== Windows part took $(($(date +%s) - started)) s"
exit $status
