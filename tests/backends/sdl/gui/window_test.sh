#!/usr/bin/env bash
# The program in a real window on a private X server.
#   window_test.sh window     PROGRAM WM_CLOSE SHOTS-DIR  - open, keys, version box, close
#   window_test.sh no-desktop PROGRAM WM_CLOSE SHOTS-DIR  - no display: one sentence, status 1
#   window_test.sh box-signal PROGRAM WM_CLOSE SHOTS-DIR  - SIGTERM while a corrupt bitmap's error
#                                                          box is up: status 143, the box gone
#   window_test.sh broken-picture PROGRAM WM_CLOSE SHOTS-DIR - a corrupt bitmap in dat/: a box
#                                                          that fits the screen naming it, no
#                                                          window, status 1
#   window_test.sh display-lost PROGRAM WM_CLOSE SHOTS-DIR - the X server ends under the window:
#                                                          one line of the program's own, none
#                                                          of Xlib's, status 1
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

mode=$1
program=$2
wm_close=$3
shots=$4
# The program as it was started, which the sentence names for xvfb-run.
sentence="ombrevale: needs a desktop session to open its window: start it from a graphical desktop, or under Xvfb (xvfb-run -a $program)."

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
caption=$(product_caption)

clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/app.log" ]; then
    echo "--- program output:" >&2
    cat "$work/app.log" >&2
  fi
  exit 1
}

app_alive() { kill -0 "$app_pid" 2>/dev/null; }

# The error box: a top-level window titled "Ombrevale".
error_box() { program_box; }

shoot() {
  command -v import >/dev/null || return 0
  mkdir -p "$shots"
  import -window root "$shots/$1.png" 2>/dev/null || echo "note: no screenshot $1" >&2
}

if [ "$mode" = no-desktop ]; then
  env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy \
    timeout 10 "$program" >"$work/out" 2>"$work/err"
  status=$?
  [ "$status" -eq 1 ] || fail "exit status $status without a desktop, expected 1"
  [ "$(cat "$work/err")" = "$sentence" ] || fail "stderr was: $(cat "$work/err")"
  [ ! -s "$work/out" ] || fail "stdout was: $(cat "$work/out")"
  echo "no desktop: the sentence, status 1"
  exit 0
fi

need_tools xdotool xwininfo
start_xvfb 100 || fail "no X server could be started"

if [ "$mode" = display-lost ]; then
  SDL_AUDIODRIVER=dummy timeout 30 "$program" >/dev/null 2>"$work/app.log" &
  app_pid=$!
  [ -n "$(main_window)" ] || fail "no window"
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  retry 10 bash -c "! kill -0 $app_pid" || fail "the program still runs after its display ended"
  wait "$app_pid"
  status=$?
  app_pid=""
  [ "$status" -eq 1 ] || fail "exit status $status after the display ended, expected 1"
  if [ "$(wc -l <"$work/app.log")" -ne 1 ] ||
    ! grep -qx 'ombrevale: lost the connection to the display ":[0-9]*", and the window with it' \
      "$work/app.log"; then
    fail "the lost display was said as: $(cat "$work/app.log")"
  fi
  echo "display lost: one line of the program's own, status 1"
  exit 0
fi

if [ "$mode" = broken-picture ]; then
  # Started where dat/ holds one bitmap that is not a picture: the start ends before any window
  # is shown, with a box and a line on stderr that name the file by its whole path. The folder
  # lies deep, as a player's may: the box still fits the screen.
  run=$work/run/a-folder-of-the-players-own/holding/another-folder-with-a-long-name/ombrevale
  mkdir -p "$run/dat"
  head -c 3000 /dev/urandom >"$run/dat/noise.bmp"
  printf 'BM' | dd of="$run/dat/noise.bmp" conv=notrunc status=none
  (cd "$run" && SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/state" exec timeout 30 "$program") >"$work/app.log" 2>&1 &
  app_pid=$!
  retry 10 box_open || fail "no error box for the broken picture"
  xdotool search --onlyvisible --name "$(caption_pattern)" >/dev/null 2>&1 && fail "the window was shown"
  shoot broken-picture
  box_width=$(xwininfo -id "$(error_box)" | awk '/^ +Width:/ { print $2 }')
  [ "$box_width" -le 512 ] || fail "the error box is $box_width pixels wide: its text is not wrapped"
  xdotool key --window "$(error_box)" Return
  retry 15 bash -c "! kill -0 $app_pid" || fail "the program still runs after its error box"
  wait "$app_pid"
  status=$?
  app_pid=""
  [ "$status" -eq 1 ] || fail "exit status $status with a broken picture, expected 1"
  grep -qF "$(cd "$run" && pwd -P)/dat/noise.bmp: " "$work/app.log" ||
    fail "stderr does not name the file by its whole path: $(cat "$work/app.log")"
  echo "broken picture: a box and a message naming it, no window, status 1"
  exit 0
fi

if [ "$mode" = box-signal ]; then
  # The program is ended by a signal while the error box of a bitmap that is no picture is up:
  # the box, drawn by a process of the program's own, goes with it, and no such process is left.
  mkdir -p "$work/signalled/dat"
  head -c 3000 /dev/urandom >"$work/signalled/dat/noise.bmp"
  printf 'BM' | dd of="$work/signalled/dat/noise.bmp" conv=notrunc status=none
  (cd "$work/signalled" && SDL_AUDIODRIVER=dummy exec "$program") >"$work/app.log" 2>&1 &
  app_pid=$!
  retry 10 box_open || fail "no error box for the broken picture"
  children=$(cat /proc/"$app_pid"/task/*/children 2>/dev/null)
  [ -n "$children" ] || fail "the box is not drawn by a process of the program's"
  kill -TERM "$app_pid"
  retry 15 bash -c "! kill -0 $app_pid" || fail "the program still runs 15 s after SIGTERM"
  wait "$app_pid"
  status=$?
  app_pid=""
  for child in $children; do
    if ! retry 10 bash -c "! kill -0 $child"; then
      kill -KILL "$child" 2>/dev/null
      fail "the box's process $child outlived the program"
    fi
  done
  [ "$status" -eq 143 ] || fail "exit status $status after SIGTERM, expected 143"
  retry 10 box_closed || fail "the error box is still on the screen after the program ended"
  echo "box and signal: status 143, the box and its process gone with the program"
  exit 0
fi

SDL_AUDIODRIVER=dummy timeout 90 "$program" >"$work/app.log" 2>&1 &
app_pid=$!

window=$(timeout 10 xdotool search --sync --name "$(caption_pattern)" | head -n 1)
[ -n "$window" ] || fail "no window captioned \"$caption\""

# Opened at its natural size, centred on the 1024 x 768 screen.
geometry=$(xwininfo -id "$window")
width=$(awk '/Width:/ { print $2 }' <<<"$geometry")
height=$(awk '/Height:/ { print $2 }' <<<"$geometry")
left=$(awk '/Absolute upper-left X:/ { print $4 }' <<<"$geometry")
top=$(awk '/Absolute upper-left Y:/ { print $4 }' <<<"$geometry")
[ "$width x $height" = "404 x 324" ] || fail "client area $width x $height, expected 404 x 324"
[ "$left, $top" = "310, 222" ] || fail "window at $left, $top, expected 310, 222"

# Keys go to the visible page, which takes no action: the program runs on.
xdotool key --window "$window" x Escape Return space F1 Left shift+a
sleep 0.3
app_alive || fail "the program ended after keys"
shoot window

# The menu entry "Version" opens the version box, drawn by the window over its page.
xdotool mousemove --window "$window" 20 10 click 1
retry 10 version_box_open "$window" || fail "no version box after clicking \"Version\""
[ -z "$(program_box)" ] || fail "the version box is a window of its own"
sleep 0.3
shoot version-box
# Keys meant for the page while the box is open are the box's: they do no harm, and Return is OK.
xdotool key --window "$window" x a
sleep 0.2
version_box_open "$window" || fail "the version box closed on a key that is not OK"
xdotool key --window "$window" Return
retry 10 version_box_closed "$window" || fail "the version box did not close on Return"
sleep 0.2
app_alive || fail "the program ended with the version box"

# Closed as a window manager closes it: the program ends by itself, with status 0.
"$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
retry 10 bash -c "! kill -0 $app_pid" || fail "the program still runs 10 s after its window was closed"
wait "$app_pid"
status=$?
app_pid=""
[ "$status" -eq 0 ] || fail "exit status $status after closing the window, expected 0"
echo "window: opened, keys, version box, closed with status 0"
