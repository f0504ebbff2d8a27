#!/usr/bin/env bash
# Start-up of the Windows build under wine against a minimal Win32 window with
# one Chinese caption, in one run on one virtual X display and one running
# wineserver: time from process start to the first paint, and working set
# after a quiet second. The program is measured through
# bench/win32/window_startup_tool.exe, which starts exactly as kelvorat.exe
# does with a probe on its window. Medians of ROUNDS alternating runs;
# target: both ratios within 1.2.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${WINDOWS_BUILD_DIR:-build-windows}
rounds=${ROUNDS:-15}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
cmake --build "$build" -j2 --target window_startup_tool minimal_window_tool >/dev/null

pids=()
cleanup() {
  wineserver -k 2>/dev/null || true
  if ((${#pids[@]})); then kill "${pids[@]}" 2>/dev/null || true; fi
}
trap cleanup EXIT

source scripts/wine-session.sh
kelvorat_virtual_display
# A prefix of its own, made once and kept: the measured runs share one
# wineserver, started beforehand, as the Qt runs share one X server.
kelvorat_wine_prefix "$PWD/$build/bench-wineprefix"
wineserver -p
WINE_LOCALE=zh_CN.UTF-8  # the program's home setting: ANSI code page 936

report=$(mktemp -d)
report_windows=$(winepath -w "$report/probe.txt")
measure() {  # prints "<ms to first paint> <working set kB>"
  local start
  rm -f "$report/probe.txt"
  start=$(date +%s%N)
  LC_ALL=$WINE_LOCALE wine "$build/bench/win32/$1.exe" "$report_windows" >/dev/null 2>&1 || true
  awk -v start="$start" -v out="$(cat "$report/probe.txt" 2>/dev/null)" 'BEGIN {
    split(out, f, /[= ]/); printf "%.1f %d\n", (f[2] - start) / 1e6, f[4] }'
}
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
measure window_startup_tool >/dev/null; measure minimal_window_tool >/dev/null  # warm the caches
for ((i = 0; i < rounds; i++)); do
  echo "window $(measure window_startup_tool)"
  echo "minimal $(measure minimal_window_tool)"
done | tee "$report/rows.txt" | python3 -c '
import statistics, sys
rows = {"window": [], "minimal": []}
for line in sys.stdin:
    name, ms, kb = line.split()
    if float(ms) > 0 and int(kb) > 0:
        rows[name].append((float(ms), int(kb)))
med = {n: (statistics.median(r[0] for r in v), statistics.median(r[1] for r in v)) for n, v in rows.items()}
for n in ("window", "minimal"):
    print(f"{n:8} first paint {med[n][0]:7.1f} ms   working set {med[n][1] / 1024:6.1f} MiB   ({len(rows[n])} runs)")
time_ratio = med["window"][0] / med["minimal"][0]
set_ratio = med["window"][1] / med["minimal"][1]
print(f"ratio    first paint {time_ratio:.2f}x   working set {set_ratio:.2f}x   (target 1.20x)")
sys.exit(0 if time_ratio <= 1.2 and set_ratio <= 1.2 else 1)
' && status=0 || status=$?
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
cp "$report/rows.txt" "$build/windows-startup-rows.txt"
rm -rf "$report"
exit $status
