# What the tests of a running window on X11 share: starting and stopping the program, its window's
# size, and screenshots of its canvas, looked at with picture_checks.sh. Sourced after xvfb.sh,
# with `program` and `work` set.

# shellcheck source=tests/backends/sdl/gui/picture_checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/picture_checks.sh"

# Ends the test as failed, saying why and what the program said.
fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/app.log" ]; then
    echo "--- program output:" >&2
    cat "$work/app.log" >&2
  fi
  exit 1
}

# The desktop's resources, as its settings daemon would publish them.
set_dpi() { xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "Xft.antialias:	1
Xft.dpi:	$1
Xft.hinting:	1"; }

start_app() {
  SDL_AUDIODRIVER=dummy timeout 120 "$program" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "no window (with $*)"
}
stop_app() {
  [ -n "$app_pid" ] || return 0
  kill "$app_pid" 2>/dev/null
  wait "$app_pid" 2>/dev/null
  app_pid=""
}
# Whether window $1 is $2 x $3 pixels.
sized() { [ "$(window_size "$1")" = "$2 $3" ]; }

# The canvas of window $1, shown at factor $2, into $3: its 400 x 280 pixels above the label's
# row (the label is a text, drawn at the shown size), N times as large.
canvas_shot() {
  local n=$2
  import -window "$1" "$work/window.png" 2>/dev/null &&
    convert "$work/window.png" -crop "$((400 * n))x$((280 * n))+$((2 * n))+$((22 * n))" +repage \
      "$3"
}
# Waits until window $1, shown at factor $2, shows a lit canvas (its first frame drawn), and leaves
# that shot in $3.
lit_shot() {
  local until=$((SECONDS + 30))
  while ((SECONDS < until)); do
    canvas_shot "$1" "$2" "$3" && lit "$3" && return 0
    sleep 0.1
  done
  return 1
}
