#!/usr/bin/env bash
# Records the replays every backend must play frame for frame: the Linux program on a private X
# server, driven with xdotool as a player would drive it. Run it again, from the repository root,
# when the frames change on purpose (as the frames of ../rendered-frames.txt are rendered again).
#
#   tests/reference/replays/record.sh BUILD-DIR
#
# linux-x11.replay: about fifteen seconds of a calm start on 31 December at 23:59:50 (UTC), the
# vision started with Return, a key, the version box held open a second and closed with Return,
# the window resized to twice its size, fullscreen and back, and the year rolling over; closed as
# a window manager closes it.
set -eu

build=${1:?the build folder}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$here/../../x11/xvfb.sh"
clean_up_on_exit

need_tools xdotool xwininfo
start_xvfb 120 || exit 1
out="$here/linux-x11.replay"
TZ=UTC XDG_STATE_HOME="$work/state" SDL_AUDIODRIVER=dummy timeout 90 "$build/ombrevale" --calm \
  --clock-start "2026/12/31 23:59:50" --record "$work/session.replay" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(main_window)
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
sleep 1
xdotool key --window "$window" Return
sleep 1.5
xdotool key --window "$window" a
sleep 0.5
read -r x y < <(version_entry_at "$window")
xdotool mousemove --window "$window" "$x" "$y" click 1
retry 10 version_box_open "$window"
sleep 1
xdotool key --window "$window" Return
retry 10 version_box_closed "$window"
sleep 1
xdotool windowsize --sync "$window" 808 648
sleep 2
xdotool key --window "$window" F11
sleep 2
xdotool key --window "$window" F11
sleep 5
"$build/tests/backends/sdl/gui/wm_close" "$window"
wait "$app_pid"
app_pid=""
cp "$work/session.replay" "$out"
echo "recorded $out ($(stat -c %s "$out") bytes)"
