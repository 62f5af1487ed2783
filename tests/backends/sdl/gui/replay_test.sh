#!/usr/bin/env bash
# Replays in the real window, on a private X server.
#   replay_test.sh play   PROGRAM RENDERER - the replay the program recorded plays in real time as
#       the player saw it (the box, the window twice its size, fullscreen), checked frame for
#       frame: status 0 and the count
#   replay_test.sh flight PROGRAM RENDERER - Ctrl+Shift+R keeps the last minute as a replay in
#       $XDG_STATE_HOME/ombrevale and says where; the renderer plays it as recorded
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

mode=$1
program=$2
render=$3
reference=tests/reference/replays/linux-x11.replay

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "--- program's stderr:" >&2; cat "$work/stderr" >&2; }
  exit 1
}

need_tools xdotool xwininfo import convert
start_xvfb 120 || fail "no X server could be started"
export XDG_STATE_HOME=$work/state

case $mode in
play)
  SDL_AUDIODRIVER=dummy timeout 100 "$program" --replay "$reference" >"$work/stdout" \
    2>"$work/stderr" &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "no window"
  # While it plays: the box the player opened, the window at twice its size, then fullscreen.
  box=no doubled=no full=no
  while kill -0 "$app_pid" 2>/dev/null; do
    read -r w h < <(window_size "$window" 2>/dev/null) || break
    [ "$w x $h" = "808 x 648" ] && doubled=yes
    [ "$w x $h" = "1024 x 768" ] && full=yes
    [ $box = no ] && version_box_open "$window" && box=yes
    sleep 0.1
  done
  wait "$app_pid"
  status=$?
  app_pid=""
  [ $status -eq 0 ] || fail "the replay ended with status $status"
  [ ! -s "$work/stderr" ] || fail "the replay said something on stderr"
  grep -qx "checked 602 frames of $PWD/$reference: every one as recorded" "$work/stdout" ||
    fail "the replay said: $(cat "$work/stdout")"
  [ "$box $doubled $full" = "yes yes yes" ] ||
    fail "shown as played: box $box, twice the size $doubled, fullscreen $full"
  echo "play: 602 frames as recorded, in real time, with the box, the resize and fullscreen"
  ;;
flight)
  SDL_AUDIODRIVER=dummy timeout 60 "$program" >"$work/stdout" 2>"$work/stderr" &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "no window"
  sleep 2
  xdotool key --window "$window" ctrl+shift+r
  said="ombrevale: the last minute of the session is kept as a replay in $XDG_STATE_HOME/ombrevale/"
  retry 10 grep -q "^$said" "$work/stderr" || fail "Ctrl+Shift+R did not say where"
  kill -0 "$app_pid" || fail "the program ended"
  kill "$app_pid"
  wait "$app_pid"
  app_pid=""
  kept=$(sed -n "s|^ombrevale: the last minute of the session is kept as a replay in ||p" \
    "$work/stderr")
  [[ $kept == *.replay ]] && [ -s "$kept" ] || fail "no replay in $kept"
  "$render" --replay "$kept" >"$work/stdout" 2>>"$work/stderr" ||
    fail "the last minute did not play as recorded: $(cat "$work/stdout")"
  grep -q "^checked [0-9]* frames of $kept: every one as recorded$" "$work/stdout" ||
    fail "the renderer said: $(cat "$work/stdout")"
  echo "flight: Ctrl+Shift+R kept the last minute, and it plays as recorded"
  ;;
esac
