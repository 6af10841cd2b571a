#!/usr/bin/env bash
# Replays the kept game (tests/tarvex/replay/playthrough.replay) in the clang build of
# the fuzz targets: a replay must show the same game whichever compiler built the
# program, so nothing the game draws at random may hang on an order the compiler
# chooses (such as the order a call's arguments are evaluated in). Reuses the fuzz
# targets' build folder, where the game is already built with clang.
#   BUILD_DIR  build folder (default: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh fuzz

build_dir=${BUILD_DIR:-build-fuzz}
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DKESTRANE_FUZZ=ON \
  -DKESTRANE_TESTS=ON -DKESTRANE_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target test_tarvex_replay

export SDL_AUDIODRIVER=dummy
# Leaks are the sanitizer build's of the tests to find (scripts/test.sh with SANITIZE=1);
# here the leak checker's scan at exit can crash on the GL driver's dynamic TLS
# ("Tracer caught signal 11", depending only on memory layout) after a passing replay.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
cd "$build_dir"
xvfb-run -a -s "-screen 0 1024x768x24" \
  tests/test_tarvex_replay --gtest_brief=1 --gtest_filter='PlayThrough.TheKeptReplayGivesTheKeptFigures'
