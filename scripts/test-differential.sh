#!/usr/bin/env bash
# The differential suite: the request cases of tests/http/differential/ sent by
# the same driver from the Linux build (libcurl) and from the Windows build
# under wine (WinINet, the reference) to tools/capture_server.py; the raw
# requests and everything HttpRequest handed back are then compared, with the
# platform's freedoms listed in tests/http/differential/compare_runs.py.
#
#   scripts/test-differential.sh [<linux build dir> [<windows build dir>]]
#
# Both builds must hold tests/http_request_driver(.exe). The wine prefix of the
# Windows build dir is used (made when missing). The proxy cases run in a
# process of their own: WinINet reuses a pooled direct connection even when a
# later session asks for a proxy.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$(date +%s)

linux_build=${1:-build}
windows_build=${2:-${WINDOWS_BUILD_DIR:-build-windows}}
for driver in "$linux_build/tests/http_request_driver" "$windows_build/tests/http_request_driver.exe"; do
  [ -x "$driver" ] || { echo "differential suite: $driver is missing (build both first)"; exit 1; }
done
out="$linux_build/differential"
rm -rf "$out"
mkdir -p "$out"

source scripts/wine-session.sh
server_pid=
cleanup() {
  [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
kelvorat_wine_prefix "$PWD/$windows_build/wineprefix"

# run <platform> <driver command...>: one capture server, the direct pass, then
# the proxy pass, each driver run writing <platform>-<pass>.out.
run() {
  local platform=$1
  shift
  python3 -u tools/capture_server.py --log "$out/$platform.log" >"$out/$platform.port" &
  server_pid=$!
  for _ in $(seq 1 100); do [ -s "$out/$platform.port" ] && break; sleep 0.05; done
  local port
  port=$(head -1 "$out/$platform.port")
  for pass in direct proxy; do
    # Each request is bounded by the platform's own time-outs; this bounds the
    # whole pass should a platform hang regardless.
    timeout 300 "$@" "$port" "$pass" "$(output_path "$platform" "$pass")" ||
      echo "the $platform driver ended with $? in the $pass pass"
  done
  kill "$server_pid"
  wait "$server_pid" 2>/dev/null || true
  server_pid=
}
output_path() {
  if [ "$1" = windows ]; then winepath -w "$PWD/$out/$1-$2.out"; else echo "$out/$1-$2.out"; fi
}

run linux "$linux_build/tests/http_request_driver"
run windows env LC_ALL=zh_CN.UTF-8 wine "$windows_build/tests/http_request_driver.exe"

status=0
python3 tests/http/differential/compare_runs.py "$out" || status=1
echo "== differential suite took $(($(date +%s) - started)) s"
exit $status
