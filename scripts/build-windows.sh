#!/usr/bin/env bash
# Builds kelvorat.exe for 64-bit Windows with MinGW-w64: static C and C++
# runtimes, nothing needed beyond Windows' own DLLs. The two service hosts are
# values of the build, taken from the environment (default: the local
# stand-ins of tools/standin_services.py):
#
#   KELVORAT_CHECK_HOST=check.example.net KELVORAT_NOTIFY_HOST=notify.example.net scripts/build-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run windows

build=${WINDOWS_RELEASE_DIR:-build-windows-release}
hosts=()
[ -n "${KELVORAT_CHECK_HOST:-}" ] && hosts+=("-DKELVORAT_CHECK_HOST=$KELVORAT_CHECK_HOST")
[ -n "${KELVORAT_NOTIFY_HOST:-}" ] && hosts+=("-DKELVORAT_NOTIFY_HOST=$KELVORAT_NOTIFY_HOST")
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake "${hosts[@]}" >/dev/null
cmake --build "$build" -j2 --target kelvorat
x86_64-w64-mingw32-strip "$build/src/kelvorat.exe"

check=$(sed -n 's/^KELVORAT_CHECK_HOST:STRING=//p' "$build/CMakeCache.txt")
notify=$(sed -n 's/^KELVORAT_NOTIFY_HOST:STRING=//p' "$build/CMakeCache.txt")
echo "$build/src/kelvorat.exe (check service $check, notification service $notify)"
