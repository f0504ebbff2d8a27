#!/usr/bin/env bash
# Installs what is missing, builds Kelvorat and runs every test: once in the
# normal build, once more under AddressSanitizer and UndefinedBehaviorSanitizer,
# then in the Windows build under wine (scripts/test-windows.sh), then the
# differential suite sends the same requests from both builds and compares
# them byte for byte (scripts/test-differential.sh). Last, every
# fuzz target of fuzz/ runs a short fixed number of inputs from its seeds
# (scripts/fuzz.sh runs them for longer).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

export QT_QPA_PLATFORM=offscreen
jobs=2

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"

cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DKELVORAT_SANITIZE=ON -DKELVORAT_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"

# Every ctest summary goes to this log too, for the total at the end.
summaries=$(mktemp)
trap 'rm -f "$summaries"' EXIT

status=0
echo "== tests (normal build)"
ctest --test-dir build --output-on-failure -j"$jobs" | tee -a "$summaries" || status=1
echo "== tests (sanitizer build)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions="$PWD/tests/lsan.supp":print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-sanitize --output-on-failure -j"$jobs" | tee -a "$summaries" || status=1
echo "== Windows build"
scripts/test-windows.sh | tee -a "$summaries" || status=1
echo "== differential suite: the same requests from the Linux and the Windows build"
scripts/test-differential.sh build "${WINDOWS_BUILD_DIR:-build-windows}" || status=1
echo "== packages: the .deb and the Windows installer linted, installed, run and removed"
scripts/test-packages.sh || status=1

echo "== fuzz targets (2000 inputs each, from the seeds)"
scripts/fuzz.sh --runs 2000 --jobs "$jobs" || status=1

# One closing line over all three test runs.
awk '/tests passed, [0-9]+ tests? failed out of/ { failed += $4; total += $NF }
     END { printf "all test runs: %d passed, %d failed\n", total - failed, failed }' "$summaries"
[ "$status" -eq 0 ] || echo "some step failed (see above)"
exit $status
