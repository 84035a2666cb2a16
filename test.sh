#!/usr/bin/env bash
# Installs what is missing, builds Tarmel and runs every test: the tests as
# built for use, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time
# (TARMEL_FUZZ_SECONDS each, 60 by default; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARMEL_SANITIZE=ON -DTARMEL_BENCH=OFF >/dev/null
cmake --build build-asan

if [ "${TARMEL_FUZZ_SECONDS:-60}" != 0 ]; then
  scripts/run-fuzzers.sh
fi

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j2
echo "== tests"
ctest --test-dir build --output-on-failure -j2
