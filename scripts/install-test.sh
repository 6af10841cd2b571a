#!/usr/bin/env bash
# Installs the built game into a scratch prefix and checks it as a player's desktop sees
# it: a valid desktop entry with its icons, software-centre metadata that AppStream's
# checker passes, a clean manual page, --version and --help answered from the prefix, a
# Debian package whose dependencies come from the linked libraries and on which lintian
# finds no error and no warning; then, under a virtual display, the installed game
# started from elsewhere finds its pictures and sounds in the share folder and keeps its
# settings and hiscore in $XDG_DATA_HOME/kestrane, made on the first save, writing nothing
# into the prefix. Last, the package is installed with apt,
# started once as `kestrane` on Debian's default PATH and once from its desktop entry,
# and removed again. Installing it needs root (or sudo), and a machine where kestrane is
# not installed already.
#   BUILD_DIR   the built tree to install (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
  echo "install test: $*" >&2
  exit 1
}

# The window of the game started last, once it is there; fails after 20 seconds.
game_window() {
  timeout 20 xdotool search --sync --name '^Kestrane$' | head -n 1
}

no_window() {
  kill "$1" 2>/dev/null || true
  fail "no game window: $(tail -n 5 "$2")"
}

# Waits for the started game to show a window of the given client size.
expect_window_size() {
  local window=$1 size=$2 geometry
  for _ in $(seq 50); do
    geometry=$(xdotool getwindowgeometry "$window" | sed -n 's/.*Geometry: //p')
    [ "$geometry" = "$size" ] && return 0
    sleep 0.1
  done
  fail "the window is $geometry, not $size"
}

wait_for_file() {
  for _ in $(seq 100); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  fail "$1 was not written"
}

# Escape in the title menu quits; the game must then end by itself with status 0.
quit_game() {
  local window=$1 pid=$2 log=$3 status=0
  xdotool key --clearmodifiers Escape
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    fail "the game did not quit on Escape"
  fi
  # A game started by another program (the desktop entry's launcher) is not ours to wait
  # for; its log still tells of a runtime error.
  if [ "${4:-}" != --not-ours ]; then
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the game ended with status $status: $(tail -n 5 "$log")"
  fi
  if grep -q 'Runtime error' "$log"; then fail "$(grep 'Runtime error' "$log")"; fi
}

# The part that needs a display: run under xvfb-run by the part below.
play_installed_game() {
  local prefix=$1 scratch=$2
  export SDL_AUDIODRIVER=dummy HOME=$scratch/home XDG_DATA_HOME=$scratch/xdg
  mkdir -p "$HOME"
  local data=$XDG_DATA_HOME/kestrane
  cd "$scratch"

  # First start, with no data folder yet: F5 steps from mode 4 to mode 3 and saves it.
  "$prefix/bin/kestrane" >"$scratch/first.log" 2>&1 &
  local pid=$!
  local window
  window=$(game_window) || no_window "$pid" "$scratch/first.log"
  xdotool windowfocus --sync "$window"
  expect_window_size "$window" 640x400
  [ -e "$data" ] && fail "the data folder was made before anything was saved"
  xdotool key --clearmodifiers F5
  wait_for_file "$data/kestrane.conf"
  expect_window_size "$window" 480x300
  grep -qx 'screenSize  3' "$data/kestrane.conf" || fail "settings: $(cat "$data/kestrane.conf")"
  [ "$(stat -c %a "$data")" = 700 ] || fail "the data folder is open to others"
  quit_game "$window" "$pid" "$scratch/first.log"

  # Second start: the mode and the hiscore are read back from the data folder.
  printf '\0\0\x48\x42' >"$data/kestrane.dat"
  strace -f -qq -e trace=openat,chdir -o "$scratch/trace" "$prefix/bin/kestrane" \
    >"$scratch/second.log" 2>&1 &
  pid=$!
  window=$(game_window) || no_window "$pid" "$scratch/second.log"
  xdotool windowfocus --sync "$window"
  expect_window_size "$window" 480x300
  quit_game "$window" "$pid" "$scratch/second.log"
  grep -q "openat(.*\"$data/kestrane.dat\", O_RDONLY) = [0-9]" "$scratch/trace" ||
    fail "the hiscore was not read from $data"
  # The font is among what the title reads before its first frame; the pictures of play
  # load later, and a game quit at once from the title may never read them.
  grep -q "chdir(\"$prefix/share/kestrane\") = 0" "$scratch/trace" &&
    grep -q 'openat(.*"bitmaps/font.png", O_RDONLY) = [0-9]' "$scratch/trace" ||
    fail "the pictures were not read from the share folder"
}

# The installed package, under a virtual display: the game starts as `kestrane` on the
# PATH a Debian user has by default, and from its desktop entry as a desktop's menu starts
# it.
play_package() {
  local scratch=$1
  export SDL_AUDIODRIVER=dummy HOME=$scratch/package-home XDG_DATA_HOME=$scratch/package-xdg
  export PATH=/usr/local/bin:/usr/bin:/bin:/usr/local/games:/usr/games
  mkdir -p "$HOME"
  cd "$scratch"
  [ "$(command -v kestrane)" = /usr/games/kestrane ] ||
    fail "kestrane on the PATH is $(command -v kestrane), not /usr/games/kestrane"
  kestrane >"$scratch/path.log" 2>&1 &
  local pid=$!
  local window
  window=$(game_window) || no_window "$pid" "$scratch/path.log"
  xdotool windowfocus --sync "$window"
  quit_game "$window" "$pid" "$scratch/path.log"

  gio launch /usr/share/applications/kestrane.desktop >"$scratch/entry.log" 2>&1 ||
    fail "the desktop entry did not start: $(tail -n 5 "$scratch/entry.log")"
  window=$(game_window) || fail "no game window from the desktop entry: $(tail -n 5 "$scratch/entry.log")"
  pid=$(xdotool getwindowpid "$window")
  [ "$(readlink "/proc/$pid/exe")" = /usr/games/kestrane ] ||
    fail "the desktop entry started $(readlink "/proc/$pid/exe")"
  xdotool windowfocus --sync "$window"
  quit_game "$window" "$pid" "$scratch/entry.log" --not-ours
}

case "${1:-}" in
  --play) play_installed_game "$2" "$3"; exit 0 ;;
  --play-package) play_package "$2"; exit 0 ;;
esac

build_dir=${BUILD_DIR:-build}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix=$scratch/prefix
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
touch "$scratch/installed"

desktop-file-validate "$prefix/share/applications/kestrane.desktop"
[ -x "$prefix/bin/kestrane" ] || fail "no program in $prefix/bin"
for size in 32 64 128; do
  icon=$prefix/share/icons/hicolor/${size}x$size/apps/kestrane.png
  # The width and height in the PNG header, as two big-endian 32-bit numbers.
  read -r -a header <<<"$(od -An -tu1 -j16 -N8 "$icon")"
  [ "${header[3]}x${header[7]}" = "${size}x$size" ] || fail "$icon is not $size pixels square"
done
warnings=$(groff -man -ww -z -Tutf8 "$prefix/share/man/man6/kestrane.6" 2>&1)
[ -z "$warnings" ] || fail "manual page: $warnings"

version=$("$prefix/bin/kestrane" --version)
[[ $version =~ ^kestrane\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version says: $version"
# What software centres show: a metainfo file that AppStream's own checker passes without
# a remark, launching the desktop entry installed beside it, its newest release this one.
metainfo=$prefix/share/metainfo/org.example.kestrane.metainfo.xml
appstreamcli validate --no-net --strict "$metainfo" >"$scratch/appstream.log" 2>&1 ||
  fail "the metainfo: $(cat "$scratch/appstream.log")"
launchable=$(sed -n 's|.*<launchable type="desktop-id">\(.*\)</launchable>.*|\1|p' "$metainfo")
[ -n "$launchable" ] && [ -f "$prefix/share/applications/$launchable" ] ||
  fail "the metainfo launches '$launchable', which is not installed"
release=$(grep -m 1 -o '<release version="[^"]*"' "$metainfo")
[ "$release" = "<release version=\"${version#kestrane }\"" ] ||
  fail "the metainfo's newest release is $release, the program is $version"
"$prefix/bin/kestrane" --help | grep -q '^Gamepad:' || fail "--help lists no pad buttons"
status=0
"$prefix/bin/kestrane" --no-such-option 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "an unknown option ended with status $status"

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/package" >/dev/null 2>&1 ||
  fail "cpack could not make the package"
package=$(ls "$scratch"/package/kestrane_*_amd64.deb)
depends=$(dpkg-deb -f "$package" Depends)
for library in libsdl2-2.0-0 libsdl2-mixer-2.0-0 libpng16-16 libgl1; do
  [[ $depends == *"$library"* ]] || fail "the package does not depend on $library: $depends"
done
[[ $depends != *-dev* ]] || fail "the package depends on a build dependency: $depends"
contents=$(dpkg-deb -c "$package")
for file in usr/games/kestrane usr/share/applications/kestrane.desktop \
  usr/share/kestrane/bitmaps/player.png usr/share/doc/kestrane/copyright \
  usr/share/metainfo/org.example.kestrane.metainfo.xml; do
  grep -q " ./$file\$" <<<"$contents" || fail "the package lacks /$file"
done
# Informational tags are not failures: the build's own compiler flags leave the program
# without immediate binding and fortified functions, which Debian's package builds add.
lintian --fail-on error,warning "$package" 2>/dev/null || fail "lintian finds fault with the package"

xvfb-run -a -s "-screen 0 1024x768x24" "$0" --play "$prefix" "$scratch"
written=$(find "$prefix" -newer "$scratch/installed")
[ -z "$written" ] || fail "the game wrote into its prefix: $written"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
# One test at a time installs the package on this machine.
exec 9>"${TMPDIR:-/tmp}/kestrane-install-test.lock"
flock 9
if dpkg-query -W -f='${Status}' kestrane 2>/dev/null | grep -q 'install ok installed'; then
  fail "kestrane is installed on this machine; remove it (apt-get remove kestrane) to test the package"
fi
trap '"${sudo_cmd[@]}" apt-get remove -y -qq kestrane >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq \
  -o DPkg::Lock::Timeout=120 "$package" >"$scratch/apt.log" 2>&1 ||
  fail "apt could not install the package: $(tail -n 5 "$scratch/apt.log")"
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --play-package "$scratch"
echo "install-test: 1 passed, 0 failed"
