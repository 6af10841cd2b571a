#!/usr/bin/env bash
# Builds every test (installing what is needed) and runs them all under a virtual
# display with SDL's dummy audio driver.
#   BUILD_DIR   build folder (default: build)
#   SANITIZE=1  build with AddressSanitizer and UndefinedBehaviorSanitizer
#   CI=true     warnings are errors
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/testenv.sh
cmake --build "$build_dir"
xvfb-run -a -s "-screen 0 1024x768x24" \
  ctest --test-dir "$build_dir" --output-on-failure -j2
