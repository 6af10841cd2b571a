#!/usr/bin/env bash
# Start-up time and memory of the game against a bare SDL window with a GL context that
# only clears (bench/startup/bare_window.cpp), all on one virtual display with SDL's
# dummy audio driver; between them, the same window drawing one textured quad ("quad"),
# the floor of drawing pictures at all, and that window linked with the sound library,
# with the audio device open as the game opens it, the game's effects and the three tunes
# it loads held as the game holds them (the title's playing), and as many one-quad
# display lists compiled and called each frame as the game compiles ("libs",
# bench_library_window): the floor of the libraries the game uses, doing what the game
# has them do, without the game's own pictures, objects or code. For each program and run:
#   first_frame  seconds from the program's start to the return of its first buffer swap
#                (the title frame for the game), reported by the preloaded swap shim
#   rss_first    resident memory at that first swap
#   rss_menu     resident memory 1 s later (the game in its title menu)
#   rss_play     the game only: resident memory 2 s after a key started a game
# and the median of each over the runs.
#   bench/startup.sh [--runs N] [BUILD_DIR]     (default: 5 runs, build/)
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
if [ "${1:-}" = "--runs" ]; then
  runs=$2
  shift 2
fi
build=$(realpath "${1:-build}")
game=$build/kestrane
bare=$build/bench/startup/bench_bare_window
libs=$build/bench/startup/bench_library_window
# The display lists the game compiles by its first game: one for every image and glyph.
lists=282
# The game's effects and the tunes it loads: the title's, the game over's and play's.
sounds=()
for file in "$build"/sound/*.wav; do sounds+=(--sample "$file"); done
for tune in believe madhat ddisz; do sounds+=(--tune "$build/sound/$tune.xm"); done
shim=$build/bench/startup/libkestrane_swapshim.so
for file in "$game" "$bare" "$libs" "$shim"; do
  [ -e "$file" ] || { echo "startup.sh: $file is missing: build with -DKESTRANE_BENCH=ON" >&2; exit 1; }
done
command -v xdotool >/dev/null || { echo "startup.sh: xdotool is missing" >&2; exit 1; }

# shellcheck source=bench/display.sh
. bench/display.sh
work=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  stopDisplay
  rm -rf "$work"
}
trap cleanup EXIT

startDisplay startup.sh

rss() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }

# One run of a program: its figures as "name value" lines into $work/NAME.RUN.
measure() {
  local name=$1 program=$2 run=$3 out=$work/$1.$3
  shift 3
  (cd "$(dirname "$program")" &&
    KESTRANE_BENCH_T0=$(date +%s%N) KESTRANE_BENCH_OUT=$out.swap LD_PRELOAD=$shim \
      exec "$program" "$@" >/dev/null 2>&1) &
  pid=$!
  for _ in $(seq 1000); do [ -s "$out.swap" ] && break; sleep 0.01; done
  [ -s "$out.swap" ] || { echo "startup.sh: $name showed no frame" >&2; exit 1; }
  awk '{ print ($1 == "first_swap_s" ? "first_frame" : "rss_first"), $2 }' "$out.swap" >"$out"
  sleep 1
  echo "rss_menu $(rss "$pid")" >>"$out"
  if [ "$name" = game ]; then
    # Any key in the title menu starts a game.
    window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n1)
    xdotool windowfocus --sync "$window" key space
    sleep 2
    echo "rss_play $(rss "$pid")" >>"$out"
  fi
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  pid=
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }
figure() { cat "$work/$1".[0-9]* | awk -v k="$2" '$1 == k { print $2 }' | median; }

for run in $(seq "$runs"); do
  measure bare "$bare" "$run"
  measure quad "$bare" "$run" --textured-quad
  measure libs "$libs" "$run" --textured-quad --mixer --display-lists "$lists" "${sounds[@]}"
  measure game "$game" "$run"
done

echo "start-up and memory, median of $runs runs (memory in MB):"
printf '%-14s %12s %10s %10s %10s\n' program first_frame_s rss_first rss_menu rss_play
for name in bare quad libs game; do
  printf '%-14s %12s' "$name" "$(figure "$name" first_frame)"
  for key in rss_first rss_menu rss_play; do
    kb=$(figure "$name" "$key")
    if [ -n "$kb" ] && [ "$kb" != 0 ]; then printf ' %10.1f' "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"; else printf ' %10s' -; fi
  done
  echo
done
# What a program costs above another: first frame and memory in the menu.
gap() {
  awk -v p="$(figure "$1" first_frame)" -v b="$(figure "$2" first_frame)" \
    -v pm="$(figure "$1" rss_menu)" -v bm="$(figure "$2" rss_menu)" -v name="$1 - $2" -v note="$3" \
    'BEGIN { printf "%s: first frame %+.3f s, menu memory %+.1f MB%s\n", name, p - b, (pm - bm) / 1024, note }'
}
gap quad bare ""
gap game quad " (targets: first frame <= 0.015 s, menu memory <= 6 MB)"
awk -v g="$(figure game rss_play)" -v q="$(figure quad rss_menu)" \
  'BEGIN { printf "game in play - quad: memory %+.1f MB (target <= 8 MB)\n", (g - q) / 1024 }'
gap libs quad ""
gap game libs " (the game's own)"
awk -v g="$(figure game rss_play)" -v l="$(figure libs rss_menu)" \
  'BEGIN { printf "game in play - libs: memory %+.1f MB (the game'"'"'s own)\n", (g - l) / 1024 }'
