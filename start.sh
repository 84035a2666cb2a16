#!/usr/bin/env bash
# Installs what is missing, builds Tarmel, installs it for this user and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
prefix="${TARMEL_PREFIX:-$HOME/.local}"
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DTARMEL_TESTS=OFF -DTARMEL_BENCH=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
cmake --build build-release
cmake --install build-release >/dev/null
exec "$prefix/bin/tarmel-start" "$@"
