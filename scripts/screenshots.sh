#!/usr/bin/env bash
# Makes the README's pictures of the game from the game itself: plays the kept replay
# (tests/tarvex/replay/playthrough.replay) in the real program under a virtual display and
# saves three of its frames in docs/, each the 160 x 100 picture enlarged four times: the
# title menu, play, and the game-over statistics. A replay plays the same game on every
# run, so the pictures come out the same, and the kept ones are checked against what
# today's game makes.
#   screenshots.sh           builds the game and writes docs/title.png, docs/play.png and
#                            docs/gameover.png
#   screenshots.sh --check   makes the pictures with the built game and fails when one
#                            differs from the kept one (a test runs this)
#   BUILD_DIR                the build folder (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
replay=tests/tarvex/replay/playthrough.replay

check=false
if [ "${1:-}" = --check ]; then
  check=true
else
  ./scripts/install-deps.sh
  [ -f "$build_dir/build.ninja" ] ||
    cmake -S . -B "$build_dir" -G Ninja -DKESTRANE_TESTS=OFF -DKESTRANE_BENCH=OFF >/dev/null
  cmake --build "$build_dir" --target kestrane
fi

# The frames, counted from the replay's first: play with enemies, bullets and an
# explosion at once (chosen by looking at the game; look again when the replay is
# recorded anew), the game-over statistics shortly before the replay's end, and the title
# menu three seconds after it.
frames=$(grep -c '^[0-9]' "$replay")
shots=("title $((frames + 180))" "play 4300" "gameover $((frames - 50))")

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# An installed copy, whose player files go to a fresh folder: the hiscore on the pictures
# is then the game's default, not whatever the build tree's data/ holds.
cmake --install "$build_dir" --prefix "$scratch/prefix" >/dev/null
export XDG_DATA_HOME=$scratch/xdg HOME=$scratch SDL_AUDIODRIVER=dummy
# The smallest window: the picture is the same in every mode, and stretching it is cheaper.
mkdir -p "$XDG_DATA_HOME/kestrane"
echo 'screenSize  1' >"$XDG_DATA_HOME/kestrane/kestrane.conf"
arguments=(--replay "$PWD/$replay")
for shot in "${shots[@]}"; do
  read -r name frame <<<"$shot"
  arguments+=(--shot "$frame:$scratch/$name.png")
done
timeout 300 xvfb-run -a -s "-screen 0 1024x768x24" \
  "$scratch/prefix/bin/kestrane" "${arguments[@]}" >"$scratch/log" 2>&1 || {
  tail -n 5 "$scratch/log" >&2
  echo "screenshots: the game did not save its pictures" >&2
  exit 1
}

mkdir -p docs
stale=0
for shot in "${shots[@]}"; do
  read -r name _ <<<"$shot"
  if $check; then
    if ! cmp -s "$scratch/$name.png" "docs/$name.png"; then
      echo "screenshots: docs/$name.png is not what today's game shows;" \
        "run ./scripts/screenshots.sh, look at the pictures and commit them" >&2
      stale=1
    fi
  else
    cp "$scratch/$name.png" "docs/$name.png"
    echo "docs/$name.png"
  fi
done
exit $stale
