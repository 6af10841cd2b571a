#!/usr/bin/env bash
# Builds the benchmarks if needed and runs them all under a virtual display with SDL's
# dummy audio driver, then the start-up and memory measurement (bench/startup.sh), and
# prints the figures. bench/README.md says what each one measures.
#   --quick     every benchmark once, very briefly, and one start-up run: a smoke test
#               that they still build and run, not a measurement
#   BUILD_DIR   build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1
build_dir=${BUILD_DIR:-build}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  ./scripts/install-deps.sh
  cmake -S . -B "$build_dir" -G Ninja -DKESTRANE_TESTS=ON -DKESTRANE_BENCH=ON >/dev/null
fi
if ! grep -q '^KESTRANE_BENCH:BOOL=ON' "$build_dir/CMakeCache.txt"; then
  echo "bench.sh: $build_dir is configured without the benchmarks (KESTRANE_BENCH=OFF)" >&2
  exit 1
fi
cmake --build "$build_dir"

args=()
startup=()
if [ "$quick" = 1 ]; then
  args=(--benchmark_min_time=0.001)
  startup=(--runs 1)
fi

export SDL_AUDIODRIVER=dummy
for program in "$build_dir"/bench/bench_*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  xvfb-run -a -s "-screen 0 1024x768x24" "$program" "${args[@]}"
done
echo "== start-up"
./bench/startup.sh "${startup[@]}" "$build_dir"
