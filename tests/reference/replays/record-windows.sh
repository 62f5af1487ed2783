#!/usr/bin/env bash
# Records the replay the Windows program must play as every other player does: the program
# cross-built for Windows (tests/backends/win32/run builds it), run under Wine on a private X
# server with a window manager, driven with xdotool as a player would drive it. Run it again, from
# the repository root, when the frames change on purpose (as record.sh is).
#
#   tests/reference/replays/record-windows.sh WINDOWS-BUILD-DIR
#
# windows.replay: about fifteen seconds of a calm start on 31 December at 23:59:50, the vision
# started with Return, a key, the version box held open a second and closed with Return, the
# window resized to twice its size, fullscreen and back, and the year rolling over; closed as a
# window manager closes it.
set -eu

build=$(cd "${1:?the Windows build folder}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
xvfb_pid=""
wm_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$here/../../x11/xvfb.sh"
finish() {
  [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null
  WINEPREFIX=$build/wine wineserver -k 2>/dev/null || true
  clean_up
}
trap finish EXIT
trap 'exit 1' INT TERM

need_tools wine wineserver winepath xdotool openbox cc
start_xvfb 180 1600x1200 || exit 1
openbox --sm-disable >/dev/null 2>&1 &
wm_pid=$!
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
[ -f "$WINEPREFIX/system.reg" ] || wineboot --init >/dev/null 2>&1
cc -O1 -o "$work/wm_close" "$here/../../x11/wm_close.c" -lX11

out="$here/windows.replay"
session=$(winepath -w "$work/session.replay")
timeout 90 wine "$build/ombrevale.exe" --calm --clock-start "2026/12/31 23:59:50" \
  --record "$session" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --name "$(caption_pattern)" | head -n 1)
[ -n "$window" ] || { echo "no window" >&2; exit 1; }
sleep 1
xdotool key --window "$window" Return
sleep 1.5
xdotool key --window "$window" a
sleep 0.5
xdotool key --window "$window" alt+v
sleep 1
# To the box, which has the focus as a modal box does.
xdotool key Return
sleep 1
xdotool windowsize --sync "$window" 808 648
sleep 2
xdotool key --window "$window" F11
sleep 2
xdotool key --window "$window" F11
sleep 5
"$work/wm_close" "$window"
wait "$app_pid"
app_pid=""
cp "$work/session.replay" "$out"
echo "recorded $out ($(stat -c %s "$out") bytes)"
