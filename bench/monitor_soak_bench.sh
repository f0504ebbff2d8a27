#!/usr/bin/env bash
# Soak benchmark: TICKS ticks (default 2000) of the real window and monitor
# cycle against the stand-in services, which report the domain as blocked so
# every tick makes both requests. Resident memory and open descriptors must
# stay flat after the first 100 ticks, and the stand-in must see every request.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build-release}
ticks=${TICKS:-2000}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$build" --target monitor_soak_tool >/dev/null

out=$(mktemp -d)
trap 'kill "$services" 2>/dev/null || true; rm -rf "$out"' EXIT
python3 -u tools/standin_services.py --port 0 --blocked example.com >"$out/services.log" &
services=$!
for _ in $(seq 1 50); do [ -s "$out/services.log" ] && break; sleep 0.1; done
port=$(head -1 "$out/services.log" | sed 's/.*://')

start=$(date +%s.%N)
QT_QPA_PLATFORM=offscreen "$build/bench/monitor_soak_tool" "$port" "$ticks" 5 | tee "$out/samples.txt"
end=$(date +%s.%N)
sleep 0.5
checks=$(grep -c '^-- check' "$out/services.log" || true)
alerts=$(grep -c '^-- ALERT' "$out/services.log" || true)
echo "ticks: $ticks in $(python3 -c "print(round($end - $start, 1))") s; the stand-in saw $checks checks and $alerts alerts"
awk 'NR > 1 { if (!first) { first = $2; fds = $3 } last = $2; lastfds = $3 }
     END { printf "rss after 100 ticks: %d KiB, at the end: %d KiB (%+d KiB); fds: %d -> %d\n",
           first, last, last - first, fds, lastfds
           exit (last - first > 1024 || lastfds != fds) }' "$out/samples.txt"
