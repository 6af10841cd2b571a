#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need. Does nothing when all
# of them are present, so it is safe to run before every build.
#   install-deps.sh        the game, its tests and benchmarks
#   install-deps.sh fuzz   the same, and clang with libFuzzer for scripts/fuzz.sh
set -euo pipefail

packages=(
  # the game
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libsdl2-mixer-dev libpng-dev
  # its Debian package: cpack finds the programs with file, their libraries' packages
  # with dpkg-shlibdeps
  dpkg-dev file
  # the tests, and the install test's checks of the desktop entry and manual page and
  # its hands on the installed game
  libgtest-dev libbenchmark-dev libopenmpt-dev xvfb xauth libgl1-mesa-dri
  desktop-file-utils groff-base xdotool strace
  # the X fonts that most desktops have: with them the virtual display really opens a
  # message box, as a player sees it, and the tests show that nothing waits on one
  xfonts-base
  # the install test's checks of the package, of its software-centre metadata and of
  # its start from the desktop entry
  lintian libglib2.0-bin appstream
)
if [ "${1:-}" = "fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
