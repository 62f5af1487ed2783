# What the tests of a running window share: starting and stopping the program, its window's size,
# and screenshots of its canvas looked at as a player would (lit, still, in whole blocks). Sourced
# after xvfb.sh, with `program` and `work` set.

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
# Whether every N x N block of picture $1 is one colour: taken down to one pixel a block and up
# again, nearest, it is the same picture.
in_blocks() {
  local n=$2 w h
  read -r w h < <(identify -format '%w %h' "$1")
  convert "$1" -sample "$((w / n))x$((h / n))!" -sample "${w}x${h}!" "$work/blocks.png" &&
    [ "$(compare -metric AE "$1" "$work/blocks.png" null: 2>&1)" = 0 ]
}
# Whether picture $1 is lit: not all of it black.
lit() { [ "$(convert "$1" -format '%[fx:maxima]' info:)" != 0 ]; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = 0 ]; }

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
# Whether picture $1 holds the face of a button or box (the classic grey): the prompt is up.
shows_a_box() {
  [ "$(convert "$1" -fill black +opaque "#d4d0c8" -format '%[fx:maxima]' info:)" != 0 ]
}
