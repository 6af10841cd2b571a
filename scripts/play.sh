#!/usr/bin/env bash
# Builds the game (installing what it needs) and runs it from the build tree.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DKESTRANE_TESTS=OFF -DKESTRANE_BENCH=OFF >/dev/null
cmake --build build --target kestrane
exec ./build/kestrane
