#!/usr/bin/env bash
# The window's own version box and fullscreen, in a real window on a private X server.
#   box_and_fullscreen_test.sh box        PROGRAM WM_CLOSE SHOTS-DIR - centred on the page at 1x
#       and 3x and scaled with it, repainted while open (hidden and shown, resized), closed by
#       Return, Space, Escape and a click on OK
#   box_and_fullscreen_test.sh signal     PROGRAM WM_CLOSE SHOTS-DIR - SIGTERM, SIGINT or SIGHUP
#       with the box open ends the program at once with status 0; SIGHUP, box or not, says so in
#       one line, and a program started with hang-ups ignored (nohup) runs on
#   box_and_fullscreen_test.sh fullscreen PROGRAM WM_CLOSE SHOTS-DIR - F11 and Alt+Enter toggle
#       fullscreen with and without a window manager, --fullscreen starts that way (geometry and
#       the scaled client area read back)
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

mode=$1
program=$2
wm_close=$3
shots=$4

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/app.log" ] && { echo "--- program output:" >&2; cat "$work/app.log" >&2; }
  exit 1
}

shoot() {
  mkdir -p "$shots"
  import -window root "$shots/$1.png" 2>/dev/null || echo "note: no screenshot $1" >&2
}

start_program() {
  SDL_AUDIODRIVER=dummy timeout 90 "$program" "$@" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "no window"
}

ends_with() {
  retry "$2" bash -c "! kill -0 $app_pid" || fail "the program still runs $2 s after $3"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq "$1" ] || fail "exit status $status after $3, expected $1"
}

# The client area's whole factor and top-left corner in window $1, as "FACTOR X Y".
client_fit() {
  local w h s
  read -r w h < <(window_size "$1")
  s=$((w / 404 < h / 324 ? w / 404 : h / 324))
  [ "$s" -lt 1 ] && s=1
  echo "$s" $(((w - 404 * s) / 2)) $(((h - 324 * s) / 2))
}

# Whether the box's title bar lies centred on the page (client x 202) and is 18 client pixels high,
# at the window's factor; `why` says what is wrong when it does not.
why=""
box_placed() {
  local bw bh bx by s x0 y0 centre
  read -r bw bh bx by < <(version_box_bar "$window") || { why="no version box"; return 1; }
  read -r s x0 y0 < <(client_fit "$window")
  centre=$((bx + bw / 2))
  if [ $((centre - (x0 + 202 * s))) -gt "$s" ] || [ $(((x0 + 202 * s) - centre)) -gt "$s" ]; then
    why="the box's title bar is centred at x $centre, the page at $((x0 + 202 * s))"
  elif [ "$bh" -ne $((18 * s)) ]; then
    why="the title bar is $bh pixels high at ${s}x, expected $((18 * s))"
  elif [ $((bw % s)) -ne 0 ]; then
    why="the title bar's width $bw is no multiple of ${s}"
  elif [ "$by" -le $((y0 + 20 * s)) ]; then
    why="the box lies over the menu strip"
  else
    placed_at=$s
    return 0
  fi
  return 1
}
# The box comes to lie centred and scaled, once the window has repainted. $1 names the check.
box_centred_and_scaled() {
  # retry runs in this shell: box_placed's `why` and `placed_at` stay.
  local until=$((SECONDS + 10))
  until box_placed; do
    ((SECONDS < until)) || fail "$1: $why"
    sleep 0.1
  done
  echo "$1: the box is centred on the page and ${placed_at}x as large"
}

open_box() {
  local x y
  read -r x y < <(version_entry_at "$window")
  xdotool mousemove --window "$window" "$x" "$y" click 1
  retry 10 version_box_open "$window" || fail "no version box after clicking \"Version\""
}

need_tools xdotool xwininfo import convert

case $mode in
box)
  start_xvfb 100 1920x1080 || fail "no X server could be started"
  start_program
  open_box
  box_centred_and_scaled "at the natural size"
  shoot box-1x
  # Hidden and shown again, the window has lost what it showed: it repaints the frozen frame
  # with its box.
  xdotool windowunmap --sync "$window" && xdotool windowmap --sync "$window"
  box_centred_and_scaled "shown again"
  # Resized while the box is open: the page and the box scale together.
  xdotool windowsize --sync "$window" 1212 972
  box_centred_and_scaled "at three times"
  shoot box-3x
  # Each way of pressing OK.
  for key in Return space Escape; do
    version_box_open "$window" || open_box
    xdotool key --window "$window" "$key"
    retry 10 version_box_closed "$window" || fail "the box did not close on $key"
  done
  open_box
  read -r bw bh bx by < <(version_box_bar "$window")
  read -r s x0 y0 < <(client_fit "$window")
  # OK lies centred below the text: going down the page's middle column from the title bar, the
  # first dark grey pixel is its raised face's lower edge, 10 client pixels below its middle.
  import -window "$window" "$work/box.png"
  edge=$(convert "$work/box.png" -crop "1x$((324 * s))+$((x0 + 202 * s))+$((by + bh))" +repage \
    -depth 8 txt:- | awk -F'[,:]' '/#404040/ { print $2; exit }')
  [ -n "$edge" ] || fail "no OK button found below the title bar"
  xdotool mousemove --window "$window" $((x0 + 202 * s)) $((by + bh + edge - 10 * s)) click 1
  retry 10 version_box_closed "$window" || fail "the box did not close on a click on OK"
  kill -0 "$app_pid" || fail "the program ended with the box"
  "$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
  ends_with 0 5 "the close"
  echo "box: centred and scaled at 1x and 3x, repainted while open, closed by Return, Space, Escape and a click"
  ;;
signal)
  start_xvfb 100 || fail "no X server could be started"
  hung_up="ombrevale: the terminal or session it was started from hung up (SIGHUP), so the window closes"
  for signal in TERM INT HUP; do
    start_program
    open_box
    kill "-$signal" "$app_pid"
    ends_with 0 10 "SIG$signal with the box open"
    if [ "$signal" = HUP ]; then
      [ "$(cat "$work/app.log")" = "$hung_up" ] || fail "SIGHUP was said as: $(cat "$work/app.log")"
    else
      [ ! -s "$work/app.log" ] || fail "SIG$signal said: $(cat "$work/app.log")"
    fi
  done
  start_program
  kill -HUP "$app_pid"
  ends_with 0 10 "SIGHUP"
  [ "$(cat "$work/app.log")" = "$hung_up" ] || fail "SIGHUP was said as: $(cat "$work/app.log")"
  # Hang-ups ignored from the start, as nohup leaves them: the program hears none.
  # shellcheck disable=SC2016  # for the inner shell
  SDL_AUDIODRIVER=dummy timeout 90 bash -c 'trap "" HUP; exec "$0"' "$program" >"$work/app.log" 2>&1 &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "no window"
  kill -HUP "$app_pid"
  sleep 1
  kill -0 "$app_pid" 2>/dev/null || fail "started with hang-ups ignored, SIGHUP still ended it"
  "$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
  ends_with 0 10 "the close"
  [ ! -s "$work/app.log" ] || fail "an ignored hang-up was said: $(cat "$work/app.log")"
  echo "signal: SIGTERM, SIGINT or SIGHUP with the box open ends the program at once, status 0;" \
    "SIGHUP says so, box or not, and nohup holds"
  ;;
fullscreen)
  start_xvfb 100 || fail "no X server could be started"
  need_tools openbox xprop
  # First on a bare X server, where the window covers the screen by itself; then under a small
  # window manager, which grants fullscreen as on every desktop.
  for manager in none openbox; do
    if [ "$manager" = openbox ]; then
      openbox --sm-disable >"$work/wm.log" 2>&1 &
      wm_pid=$!
      trap 'kill "$wm_pid" 2>/dev/null; clean_up' EXIT
      retry 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
        fail "the window manager did not start: $(cat "$work/wm.log")"
    fi
    start_program
    retry 10 bash -c "[ \"\$(xwininfo -id $window | awk '/Width:/ { print \$2 }')\" = 404 ]" || true
    read -r w h < <(window_size "$window")
    [ "$w x $h" = "404 x 324" ] || fail "the window opened at $w x $h ($manager)"
    for keys in F11 alt+Return; do
      xdotool key --window "$window" "$keys"
      retry 10 bash -c "[ \"\$(xwininfo -id $window | awk '/Width:/ { print \$2 }')\" = 1024 ]" ||
        fail "$keys did not make the window fullscreen ($manager)"
      read -r w h < <(window_size "$window")
      [ "$w x $h" = "1024 x 768" ] || fail "fullscreen by $keys is $w x $h, expected 1024 x 768 ($manager)"
      # The client area twice as large, centred: the menu strip's face at its scaled place, once
      # the window has repainted.
      strip_at_2x() {
        import -window "$window" "$work/full.png" 2>/dev/null &&
          strip=$(convert "$work/full.png" -crop \
            "1x1+$(((1024 - 808) / 2 + 300))+$(((768 - 648) / 2 + 10))" -depth 8 txt:- |
            grep -o '#[0-9A-F]\{6\}' | head -n 1) && [ "$strip" = "#D4D0C8" ]
      }
      retry 10 strip_at_2x ||
        fail "fullscreen by $keys ($manager) does not show the strip at 2x: ${strip:-}"
      shoot "fullscreen-$manager-$keys"
      xdotool key --window "$window" "$keys"
      retry 10 bash -c "[ \"\$(xwininfo -id $window | awk '/Width:/ { print \$2 }')\" = 404 ]" ||
        fail "$keys did not bring the window back ($manager)"
    done
    "$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
    ends_with 0 5 "the close"
  done
  start_program --fullscreen
  retry 10 bash -c "[ \"\$(xwininfo -id $window | awk '/Width:/ { print \$2 }')\" = 1024 ]" ||
    fail "--fullscreen did not start fullscreen"
  "$wm_close" "$window" || fail "could not send WM_DELETE_WINDOW"
  ends_with 0 5 "the close"
  echo "fullscreen: on and off by F11 and by Alt+Enter, with and without a window manager, and from the start with --fullscreen"
  ;;
esac
