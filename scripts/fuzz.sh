#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ (clang, in build-fuzz/) and runs them.
#
#   scripts/fuzz.sh [--time SECONDS | --runs N] [--jobs J] [target...]
#
# --time runs each target for that long (default 600), growing a working
#   corpus in build-fuzz/corpus/<target>/ from the seeds in fuzz/corpus/<target>/;
#   inputs that fail are saved as build-fuzz/artifacts/<target>-crash-*.
# --runs runs each target that many inputs from its seeds, in a throw-away
#   corpus: the short check scripts/test.sh makes.
# --jobs runs that many targets side by side (default 1).
# Prints one line per target with its executions and outcome, then a closing
# "fuzz: N passed, M failed"; exits non-zero when any target failed.
set -euo pipefail
cd "$(dirname "$0")/.."

mode=time
amount=600
jobs=1
targets=()
while (($#)); do
  case $1 in
    --time) mode=time; amount=$2; shift 2 ;;
    --runs) mode=runs; amount=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

build=build-fuzz
if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVORAT_FUZZ=ON >/dev/null
fi
if ! cmake --build "$build" -j2 >"$build/last-build.log" 2>&1; then
  cat "$build/last-build.log"
  exit 1
fi

if ((${#targets[@]} == 0)); then
  for source in fuzz/*_fuzz.cpp; do targets+=("$(basename "$source" .cpp)"); done
fi

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
mkdir -p "$build/artifacts"

run_one() {
  local name=$1 corpus
  if [ "$mode" = time ]; then
    corpus="$build/corpus/$name"
    mkdir -p "$corpus"
    set -- -max_total_time="$amount"
  else
    corpus="$logs/$name-corpus"
    mkdir -p "$corpus"
    set -- -runs="$amount" -seed=1
  fi
  # Each target reports its own failures; -timeout flags any input that hangs.
  if "$build/fuzz/$name" "$@" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/artifacts/$name-" "$corpus" "fuzz/corpus/$name" \
      >"$logs/$name.log" 2>&1; then
    echo "ok" >"$logs/$name.status"
  else
    echo "FAILED" >"$logs/$name.status"
  fi
}

running=0
for name in "${targets[@]}"; do
  run_one "$name" &
  running=$((running + 1))
  if ((running >= jobs)); then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

status=0
passed=0
failed=0
for name in "${targets[@]}"; do
  result=$(cat "$logs/$name.status" 2>/dev/null || echo "FAILED")
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$logs/$name.log" | grep -o '[0-9]*$' || true)
  seconds=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$logs/$name.log" | grep -o '[0-9]*$' || true)
  printf 'fuzz: %-22s %-6s %12s executions (%s/s)\n' "$name" "$result" "${runs:-?}" "${seconds:-?}"
  if [ "$result" = ok ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    status=1
    grep -E 'property failed|ERROR|SUMMARY|Test unit written' "$logs/$name.log" | head -n 8 | sed 's/^/    /'
  fi
done
echo "fuzz: $passed passed, $failed failed"
exit $status
