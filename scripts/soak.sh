#!/usr/bin/env bash
# The soak: the scripted player plays games back to back through the game's main loop
# with fixed 1/60 s steps, faster than real time, under a virtual display with SDL's
# dummy audio driver. It prints each game, the totals and resident memory, and fails
# when a game leaves particles out of the pool or memory grows by more than 2 MB.
#   scripts/soak.sh [MINUTES]   minutes of game time (default 60)
#   BUILD_DIR, SANITIZE, CI     as for scripts/test.sh (memory is not judged under the
#                               sanitizers, whose quarantine holds freed memory)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
source scripts/testenv.sh
cmake --build "$build_dir" --target kestrane_soak
cd "$build_dir"
xvfb-run -a -s "-screen 0 1024x768x24" ./tests/kestrane_soak "$minutes" | grep --line-buffered -v -E '^:|^[^ ]+ = '
