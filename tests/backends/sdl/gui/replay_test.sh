#!/usr/bin/env bash
# Replays in the real window, on a private X server.
#   replay_test.sh play   PROGRAM RENDERER - a replay the Windows program recorded plays in real
#       time as its player saw it (the box, the window at the size chosen, fullscreen), checked
#       frame for frame: status 0 and the renderer's count
#   replay_test.sh flight PROGRAM RENDERER - Ctrl+Shift+R keeps the last minute as a replay in
#       $XDG_STATE_HOME/ombrevale and says where; the renderer plays it as recorded
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

mode=$1
program=$2
render=$3
replays=tests/reference/replays

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
# A screen larger than the largest window any committed replay's player chose (the web page's
# 1300 x 1000), so that any of them can be played here: the window never grows past its screen.
screen=1600x1200
start_xvfb 120 "$screen" || fail "no X server could be started"
export XDG_STATE_HOME=$work/state

case $mode in
play)
  # play NAME SIZE: the replay plays to its end, the box and a window of SIZE ("W x H") among what
  # it showed, and fullscreen.
  play() {
    local replay=$PWD/$replays/$1.replay expected
    expected=$("$render" --replay "$replay") || fail "the renderer did not play $1: $expected"
    SDL_AUDIODRIVER=dummy timeout 100 "$program" --replay "$replay" >"$work/stdout" \
      2>"$work/stderr" &
    app_pid=$!
    window=$(main_window)
    [ -n "$window" ] || fail "no window for $1"
    local box=no sized=no full=no w h status
    while kill -0 "$app_pid" 2>/dev/null; do
      read -r w h < <(window_size "$window" 2>/dev/null) || break
      [ "$w x $h" = "$2" ] && sized=yes
      [ "$w x $h" = "${screen/x/ x }" ] && full=yes
      [ $box = no ] && version_box_open "$window" && box=yes
      sleep 0.1
    done
    wait "$app_pid"
    status=$?
    app_pid=""
    [ $status -eq 0 ] || fail "$1 ended with status $status"
    [ ! -s "$work/stderr" ] || fail "$1 said something on stderr"
    [ "$(cat "$work/stdout")" = "$expected" ] ||
      fail "$1: the program said $(cat "$work/stdout"), the renderer $expected"
    [ "$box $sized $full" = "yes yes yes" ] ||
      fail "$1 shown as played: box $box, at $2 $sized, fullscreen $full"
    echo "play: ${expected%%:*}, in real time, with the box, the window at $2 and fullscreen"
  }
  # One replay in real time, another desktop's: the Windows program's. The renderer plays every
  # desktop's frame for frame (tools.render_replay), the Windows run and the page another each.
  play windows "808 x 648"
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
