#!/usr/bin/env bash
# The game's heap by owner, measured with heaptrack (apt install heaptrack): the game runs
# on a virtual display of its own with SDL's dummy audio driver, 6 s in the title menu
# (everything it loads before the first game is loaded by then) and, in a second run,
# 6 s more into a game started with space. Every allocation live at the run's heap peak
# is charged to the innermost function of this program's own code on its call stack that
# names an owner (the sound library's allocations for a sample to the loading of the
# samples, the GL driver's for a display list to the renderer's call, and so on); what
# happens before main or outside any of them is charged as such. The same for the quad
# of startup.sh (one textured quad a frame), whose heap is the driver's floor.
# Sizes are the bytes asked for, not resident pages: a large block the program never
# touches costs address space but no memory.
#   bench/heap.sh [BUILD_DIR]     (default: build/, configured with -DKESTRANE_BENCH=ON)
set -euo pipefail
cd "$(dirname "$0")/.."

build=$(realpath "${1:-build}")
for tool in heaptrack heaptrack_print xdotool Xvfb; do
  command -v "$tool" >/dev/null || { echo "heap.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$build/bench/startup/bench_bare_window" ] ||
  { echo "heap.sh: $build has no benchmarks: build with -DKESTRANE_BENCH=ON" >&2; exit 1; }

# shellcheck source=bench/display.sh
. bench/display.sh
work=$(mktemp -d)
cleanup() {
  stopDisplay
  rm -rf "$work"
}
trap cleanup EXIT
startDisplay heap.sh
# Nothing of the player's is read or written.
export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config
mkdir -p "$HOME"

# One profiled run: name, whether to start a game, program and arguments.
profile() {
  local name=$1 play=$2 pid
  shift 2
  (cd "$(dirname "$1")" && exec heaptrack -o "$work/$name" "$@" >/dev/null 2>&1) &
  local tracker=$! comm
  # heaptrack starts the program as a process of its own: the newest of that name.
  comm=$(basename "$1" | cut -c1-15)
  for _ in $(seq 200); do
    pid=$(pgrep -n -x "$comm" || true)
    [ -n "$pid" ] && break
    sleep 0.05
  done
  [ -n "$pid" ] || { echo "heap.sh: $comm did not start" >&2; exit 1; }
  sleep 6
  if [ "$play" = 1 ]; then
    window=$(xdotool search --sync --onlyvisible --pid "$pid" | head -n1)
    xdotool windowfocus --sync "$window" key space
    sleep 6
  fi
  kill "$pid"
  wait "$tracker" || true
  heaptrack_print -f "$work/$name".*zst --print-peaks 0 --print-allocators 0 --print-temporary 0 \
    --print-leaks 0 --flamegraph-cost-type peak -F "$work/$name.stacks" >/dev/null 2>&1
}

profile quad 0 "$build/bench/startup/bench_bare_window" --textured-quad
profile menu 0 "$build/kestrane"
profile play 1 "$build/kestrane"

# Owners, tried on each frame of a stack from the innermost out; the first that matches
# takes the allocation.
owners() {
  awk '
    function owner(frame) {
      if (frame ~ /Particle::operator new/) return "particle pool"
      if (frame ~ /Sound::.*(loadSample|loadSounds)/) return "effects: samples (sound library)"
      if (frame ~ /Sound::setupFmodSound/) return "audio device (sound library)"
      if (frame ~ /Music::/) return "tunes (sound library)"
      # The title backdrop'"'"'s clear reaches the driver straight from the renderer'"'"'s
      # tail call, so its caller names it.
      if (frame ~ /Renderer2D::(createImageCache|drawImage|flush|print|draw|clear)|StateMenu::drawBackdrop/)
        return "display lists and drawing (GL driver)"
      if (frame ~ /Renderer2D::makeTexture/) return "textures (GL driver)"
      if (frame ~ /Renderer2D::(picture|beginPicture|showPicture|readPicture)/)
        return "the picture and its stretch (GL driver)"
      if (frame ~ /Bitmap::createBitmask/) return "collision masks"
      if (frame ~ /Bitmap::load/) return "pictures: pixels"
      if (frame ~ /Font::/) return "fonts: glyph tables"
      if (frame ~ /Platform::Gamepads/) return "gamepads (SDL)"
      if (frame ~ /Platform::|OpenglApp::OpenglApp/) return "window, GL context, SDL"
      if (frame ~ /^(Tarvex|Pyrane)::/) return "the game'"'"'s objects"
      if (frame ~ /^main$/) return "other, under main"
      return ""
    }
    {
      cost = $NF
      sub(/ [0-9]+$/, "")
      n = split($0, frames, ";")
      who = "before main (the libraries'"'"' start)"
      for (i = n; i >= 1; --i) {
        frame = frames[i]
        sub(/ \(.*$/, "", frame)
        found = owner(frame)
        if (found != "") { who = found; break }
      }
      sum[who] += cost
      total += cost
    }
    END {
      for (who in sum) printf "%s\t%.0f\n", who, sum[who]
      printf "total\t%.0f\n", total
    }' "$work/$1.stacks" | sort
}

owners quad >"$work/quad.owners"
owners menu >"$work/menu.owners"
owners play >"$work/play.owners"
echo "heap at its peak by owner, KB (the bytes asked for; bench/heap.sh says how it counts):"
printf '%-46s %9s %9s %9s\n' owner quad menu play
cut -f1 "$work"/*.owners | sort -u | grep -v '^total$' | while read -r who; do
  printf '%-46s' "$who"
  for run in quad menu play; do
    awk -F'\t' -v w="$who" '$1 == w { kb = $2 / 1024 } END { printf " %9.1f", kb }' "$work/$run.owners"
  done
  echo
done
printf '%-46s' total
for run in quad menu play; do
  awk -F'\t' '$1 == "total" { printf " %9.1f", $2 / 1024 }' "$work/$run.owners"
done
echo
