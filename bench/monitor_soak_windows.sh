#!/usr/bin/env bash
# Soak benchmark of the Windows build under wine: TICKS ticks (default 2000)
# of the real Win32 window and monitor cycle against the stand-in services,
# which report the domain as blocked so every tick makes both requests. The
# working set and the open handles must stay flat after the first 100 ticks
# (the working set beside wininet.dll alone making the same requests), and
# the stand-in must see every request. Uses the wine prefix of the
# Windows build (scripts/test-windows.sh), made here when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${WINDOWS_BUILD_DIR:-build-windows}
ticks=${TICKS:-2000}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
fi
cmake --build "$build" --target monitor_soak_tool wininet_loop_tool >/dev/null

out=$(mktemp -d)
pids=()
cleanup() {
  if ((${#pids[@]})); then kill "${pids[@]}" 2>/dev/null || true; fi
  rm -rf "$out"
}
trap cleanup EXIT

source scripts/wine-session.sh
kelvorat_virtual_display
kelvorat_wine_prefix "$PWD/$build/wineprefix"

python3 -u tools/standin_services.py --port 0 --blocked example.com >"$out/services.log" &
pids+=("$!")
for _ in $(seq 1 50); do [ -s "$out/services.log" ] && break; sleep 0.1; done
port=$(head -1 "$out/services.log" | sed 's/.*://')

start=$(date +%s.%N)
wine "$build/tests/monitor_soak_tool.exe" "$port" "$ticks" 5 2>/dev/null | tr -d '\r' | tee "$out/samples.txt"
end=$(date +%s.%N)
sleep 0.5
checks=$(grep -c '^-- check' "$out/services.log" || true)
alerts=$(grep -c '^-- ALERT' "$out/services.log" || true)
echo "ticks: $ticks in $(python3 -c "print(round($end - $start, 1))") s; the stand-in saw $checks checks and $alerts alerts"

# The yardstick: the same requests through wininet.dll alone. wine's WinINet
# keeps about 160 bytes of every request whose server closes the connection
# (the stand-in's way), so the working set is judged against what the DLL
# alone gains over the same ticks.
wine "$build/bench/win32/wininet_loop_tool.exe" "$port" "$ticks" 2>/dev/null | tr -d '\r' >"$out/yardstick.txt"
dll=$(awk 'NR > 1 { if (!first) first = $2; last = $2 } END { print last - first }' "$out/yardstick.txt")
echo "wininet.dll alone, the same requests: working set ${dll:+$(printf '%+d' "$dll")} KiB from tick 100 on"

awk -v ticks="$ticks" -v checks="$checks" -v alerts="$alerts" -v dll="${dll:-0}" \
  'NR > 1 { if (!first) { first = $2; handles = $3 } last = $2; lasthandles = $3 }
   END { printf "working set after 100 ticks: %d KiB, at the end: %d KiB (%+d KiB; %+d KiB beyond the DLL'"'"'s own); handles: %d -> %d\n",
         first, last, last - first, last - first - dll, handles, lasthandles
         exit (last - first - dll > 256 || lasthandles != handles || checks < ticks || alerts < ticks) }' "$out/samples.txt"
