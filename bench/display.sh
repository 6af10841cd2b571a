# Sourced by the measurement scripts: a virtual display of their own, on the first free
# number (Xvfb names it on the descriptor), with SDL's dummy audio driver. The caller
# has a scratch folder in $work; its cleanup calls stopDisplay.
#   startDisplay NAME      NAME: the calling script, for the error message
startDisplay() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
  [ -s "$work/display" ] || { echo "$1: Xvfb did not start" >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$work/display")" SDL_AUDIODRIVER=dummy
}

stopDisplay() {
  if [ -n "${xvfb:-}" ]; then kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null; fi
  return 0
}
