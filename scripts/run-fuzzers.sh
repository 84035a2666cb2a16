#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a bounded time on a
# copy of its seed corpus; any crash, hang, leak or broken table fails.
#   scripts/run-fuzzers.sh [SECONDS]     (default 60 each)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-${TARMEL_FUZZ_SECONDS:-60}}"
build="$root/build-fuzz"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DTARMEL_FUZZ=ON -DTARMEL_GUI=OFF -DTARMEL_TESTS=OFF -DTARMEL_BENCH=OFF >/dev/null
cmake --build "$build"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
passed=0
failed=0
for corpus in "$root"/fuzz/corpus/*/; do
  name="$(basename "$corpus")"
  target="$build/fuzz/${name}_fuzzer"
  [ -x "$target" ] || { echo "no fuzz target for corpus $name"; failed=$((failed + 1)); continue; }
  mkdir -p "$work/$name"
  cp -R "$corpus". "$work/$name"/
  log="$work/$name.log"
  if (cd "$work" && "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$work/$name" >"$log" 2>&1); then
    runs="$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')"
    echo "fuzz $name: ok, $runs executions in ${seconds}s"
    passed=$((passed + 1))
  else
    echo "fuzz $name: FAILED"
    tail -40 "$log"
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
