#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang, libFuzzer and the address and
# undefined-behaviour sanitizers, in a build folder of their own, and runs each of them.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
#   SECONDS > 0  fuzz each target that long (default 60), starting from its seed corpus
#                tests/fuzz/corpus/NAME; what it learns goes to BUILD_DIR/corpus/NAME,
#                what it finds to BUILD_DIR/findings/NAME
#   SECONDS = 0  run each target once over its seed corpus: the regression run of CI
#   TARGET       names like settings or bitmap (default: every target)
#   BUILD_DIR    build folder (default: build-fuzz)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh fuzz

seconds=${1:-60}
shift || true
build_dir=${BUILD_DIR:-build-fuzz}
# Configured with the tests, as scripts/replay-clang.sh uses the same folder; only the
# fuzz targets are built here.
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DKESTRANE_FUZZ=ON \
  -DKESTRANE_TESTS=ON -DKESTRANE_BENCH=OFF >/dev/null
cmake --build "$build_dir" --target kestrane_fuzz

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    targets+=("$name")
  done
fi

# Each input goes through a file; files in memory keep the disk out of every run.
memory=/dev/shm
[ -d "$memory" ] && [ -w "$memory" ] || memory=${TMPDIR:-/tmp}
scratch=$(mktemp -d "$memory/kestrane-fuzz-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
for name in "${targets[@]}"; do
  program=$build_dir/fuzz/fuzz_$name
  seeds=tests/fuzz/corpus/$name
  mkdir -p "$seeds"
  if [ "$seconds" = 0 ]; then
    echo "== fuzz_$name over its $(ls "$seeds" | wc -l) seeds"
    if ! "$program" -runs=0 -artifact_prefix="$scratch/" "$seeds" 2>"$scratch/$name.log"; then
      cat "$scratch/$name.log"
      failed=1
    fi
    grep -E "^(INFO: seed corpus|#[0-9]+.*DONE)" "$scratch/$name.log" || true
  else
    corpus=$build_dir/corpus/$name
    findings=$build_dir/findings/$name
    mkdir -p "$corpus" "$findings"
    echo "== fuzz_$name for $seconds s"
    if ! "$program" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" "$seeds" 2>"$findings/log.txt"; then
      failed=1
    fi
    grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)" \
      "$findings/log.txt" || true
    ls "$findings" | grep -v '^log.txt$' | sed "s|^|   finding: $findings/|" || true
  fi
done
exit $failed
