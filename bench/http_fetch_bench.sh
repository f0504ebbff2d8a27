#!/usr/bin/env bash
# Fetch benchmark: one 64 MiB body over loopback, fetched by HttpRequest (the
# engine over the libcurl platform binding), by a minimal libcurl program that
# appends to one growing buffer (the yardstick) and by `curl -o /dev/null`.
# Reports the best wall time and the peak resident size of each over several
# runs, and checks the targets: HttpRequest within 1.5x the yardstick's wall
# time, and a peak resident size under 3x the body size.
#
#   bench/http_fetch_bench.sh [build-dir] [runs]     (build-dir: an optimized build)
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build}
runs=${2:-5}
body_bytes=$((64 * 1024 * 1024))

for tool in serve_body_tool curl_yardstick_tool http_fetch_tool; do
  if [ ! -x "$build/bench/$tool" ]; then
    echo "missing $build/bench/$tool: build with e.g." >&2
    echo "  cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVORAT_WITH_QT=OFF" >&2
    echo "  cmake --build $build --target serve_body_tool curl_yardstick_tool http_fetch_tool" >&2
    exit 2
  fi
done

workdir=$(mktemp -d)
server_pid=""
cleanup() {
  if [ -n "$server_pid" ]; then kill "$server_pid" 2>/dev/null || true; fi
  rm -rf "$workdir"
}
trap cleanup EXIT

"$build/bench/serve_body_tool" "$body_bytes" >"$workdir/port" &
server_pid=$!
for _ in $(seq 100); do
  [ -s "$workdir/port" ] && break
  sleep 0.05
done
port=$(head -n1 "$workdir/port")
url="http://127.0.0.1:$port/body"

# measure NAME COMMAND...: best wall time (ms) and highest peak RSS (KiB) over the runs.
declare -A wall_ms rss_kib
measure() {
  local name=$1
  shift
  local best="" peak=0
  for _ in $(seq "$runs"); do
    local start end ms rss
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$workdir/rss" "$@" >"$workdir/out" 2>/dev/null
    end=$(date +%s%N)
    ms=$(((end - start) / 1000000))
    rss=$(tail -n1 "$workdir/rss")
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
    if [ "$rss" -gt "$peak" ]; then peak=$rss; fi
  done
  wall_ms[$name]=$best
  rss_kib[$name]=$peak
  printf "%-22s wall %6d ms   peak RSS %8d KiB\n" "$name" "$best" "$peak"
}

echo "body: $body_bytes bytes from $url, best of $runs runs"
measure "HttpRequest" "$build/bench/http_fetch_tool" "$url"
received=$(cat "$workdir/out")
measure "libcurl yardstick" "$build/bench/curl_yardstick_tool" "$url"
measure "curl -o /dev/null" curl -s --noproxy "*" -o /dev/null "$url"

status=0
if [ "$received" != "$body_bytes" ]; then
  echo "FAIL: HttpRequest returned $received bytes, not $body_bytes"
  status=1
fi
ratio=$(awk -v a="${wall_ms[HttpRequest]}" -v b="${wall_ms[libcurl yardstick]}" 'BEGIN { printf "%.2f", a / (b > 0 ? b : 1) }')
if awk -v r="$ratio" 'BEGIN { exit !(r <= 1.5) }'; then
  echo "ok:   HttpRequest wall time is ${ratio}x the yardstick's (target <= 1.5x)"
else
  echo "FAIL: HttpRequest wall time is ${ratio}x the yardstick's (target <= 1.5x)"
  status=1
fi
rss_ratio=$(awk -v k="${rss_kib[HttpRequest]}" -v b="$body_bytes" 'BEGIN { printf "%.2f", k * 1024 / b }')
if awk -v r="$rss_ratio" 'BEGIN { exit !(r < 3) }'; then
  echo "ok:   HttpRequest peak RSS is ${rss_ratio}x the body size (target < 3x)"
else
  echo "FAIL: HttpRequest peak RSS is ${rss_ratio}x the body size (target < 3x)"
  status=1
fi
exit $status
