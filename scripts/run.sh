#!/usr/bin/env bash
# Installs what is missing, builds Kelvorat against the local stand-in services
# and starts both, so a check and an alert can be watched end to end.
# The stand-in reports the sample domain example.com as blocked: press
# "开启监控" and this terminal shows the check request and then the alert.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target kelvorat

hostport=$(sed -n 's/^KELVORAT_CHECK_HOST:STRING=//p' build/CMakeCache.txt)
port=${hostport##*:}
if [ "$hostport" != "127.0.0.1:$port" ]; then
  echo "build/ is configured for the check service $hostport, not the local stand-in;"
  echo "start build/src/kelvorat yourself."
  exec build/src/kelvorat
fi

python3 -u tools/standin_services.py --port "$port" --blocked example.com &
services=$!
pids=("$services")
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT INT TERM
sleep 0.5
kill -0 "$services" 2>/dev/null || { echo "the stand-in services could not start on port $port"; exit 1; }

if [ -n "${DISPLAY:-}" ]; then
  echo "Kelvorat is starting. Press 开启监控; the stand-in's log follows here."
  build/src/kelvorat
  exit 0
fi

# No display: run the program on a virtual X display and press the start
# button for the user, so the whole check-and-alert cycle still shows here.
echo "No DISPLAY: starting Kelvorat under Xvfb (a virtual display) and pressing 开启监控 with xdotool."
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=("$!")
sleep 1
DISPLAY=$display build/src/kelvorat &
program=$!
pids+=("$program")
window=""
for _ in $(seq 1 50); do
  window=$(DISPLAY=$display xdotool search --onlyvisible --name "Kelvorat V1.0" 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
if [ -z "$window" ]; then echo "the window did not appear"; exit 1; fi
sleep 1
# The start button's centre, in the window's client coordinates.
DISPLAY=$display xdotool mousemove --window "$window" 379 161 click 1
echo "Kelvorat runs on $display and checks every 60 seconds; press Ctrl-C to end it."
wait "$program"
