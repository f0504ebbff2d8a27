#!/usr/bin/env bash
# Start-up of the main window against a minimal Qt window with one Chinese
# caption, in one run on one virtual X display: time from process start to the
# first paint, and resident memory after a quiet second. Medians of ROUNDS
# alternating runs; target: both ratios within 1.3.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-release}
rounds=${ROUNDS:-15}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVORAT_WITH_QT=ON >/dev/null
fi
cmake --build "$build" --target window_startup_tool minimal_window_tool >/dev/null

export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}
# shellcheck disable=SC2016
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96" bash -c '
  build=$1 rounds=$2
  measure() {  # prints "<ms to first paint> <rss kB>"
    local start output
    start=$(date +%s%N)
    output=$("$build/bench/$1" 2>/dev/null)
    awk -v start="$start" -v out="$output" "BEGIN {
      split(out, f, /[= ]/); printf \"%.1f %d\n\", (f[2] - start) / 1e6, f[4] }"
  }
  measure window_startup_tool >/dev/null; measure minimal_window_tool >/dev/null  # warm the caches
  for ((i = 0; i < rounds; i++)); do
    echo "window $(measure window_startup_tool)"
    echo "minimal $(measure minimal_window_tool)"
  done' _ "$build" "$rounds" | python3 -c '
import statistics, sys
rows = {"window": [], "minimal": []}
for line in sys.stdin:
    name, ms, kb = line.split()
    rows[name].append((float(ms), int(kb)))
med = {n: (statistics.median(r[0] for r in v), statistics.median(r[1] for r in v)) for n, v in rows.items()}
for n in ("window", "minimal"):
    print(f"{n:8} first paint {med[n][0]:7.1f} ms   resident {med[n][1] / 1024:6.1f} MiB   ({len(rows[n])} runs)")
time_ratio = med["window"][0] / med["minimal"][0]
rss_ratio = med["window"][1] / med["minimal"][1]
print(f"ratio    first paint {time_ratio:.2f}x   resident {rss_ratio:.2f}x   (target 1.30x)")
sys.exit(0 if time_ratio <= 1.3 and rss_ratio <= 1.3 else 1)
'
