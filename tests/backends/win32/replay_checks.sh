# Replays on Windows, under Wine; sourced by tests/backends/win32/run, whose helpers it uses
# (start, window, wait_status, check, pass, fail, within, box, box_shown) and whose `exe`, `work`
# and `build` it reads. The Linux renderer (build/ombrevale-render) and replay_edit
# (build/tests/tools/replay_edit) check what the program writes and make the positive control.
#   1. --record writes the session, and the renderer plays it frame for frame;
#   2. Ctrl+Shift+R keeps the last minute in %LOCALAPPDATA%\Ombrevale and says where, and the
#      renderer plays it;
#   3. a replay the web page recorded (tests/reference/replays) plays in real time with its box,
#      frame for frame, with the renderer's count;
#   4. a replay with one frame's hash changed is caught at that frame, with the inputs before it,
#      and the frames it leaves beside it are PNG files: the one that matched is the renderer's;
#   5. a replay cut short is refused with one sentence and status 2.
# shellcheck shell=bash
# shellcheck disable=SC2154  # the variables of the sourcing script

native=$root/build
renderer=$native/ombrevale-render
replays=$root/tests/reference/replays
mkdir -p "$work/replays"

# Whether the renderer plays the replay at $1 as recorded; its line into `rendered`.
rendered=""
renders() {
  rendered=$("$renderer" --replay "$1" 2>&1) && [[ $rendered == "checked "*": every one as recorded" ]]
}
# check_rendered DESCRIPTION REPLAY: a check that the renderer plays it as recorded.
check_rendered() {
  if renders "$2"; then pass "$1 (${rendered%% of *})"; else fail "$1 ($rendered)"; fi
}
# The Windows path of a file of this machine.
windows_path() { winepath -w "$1" 2>/dev/null; }

start --record "$(windows_path "$work/replays/session.replay")"
w=$(window)
sleep 2
xdotool key --window "$w" a 2>/dev/null || true
sleep 1
"$work/wm_close" "$w" >/dev/null 2>&1 || true
wait_status 10
check "--record: the program ends with status 0 (status $status)" [ "$status" = 0 ]
check_rendered "--record: the renderer plays the session frame for frame" \
  "$work/replays/session.replay"

start
w=$(window)
sleep 2
xdotool key --window "$w" ctrl+shift+r 2>/dev/null || true
said_kept() { grep -q '^ombrevale: the last minute of the session is kept as a replay in ' "$work/app.err"; }
check "Ctrl+Shift+R says where the last minute is kept" within 20 said_kept
kept=$(sed -n 's/^ombrevale: the last minute of the session is kept as a replay in \(.*\)\r*$/\1/p' \
  "$work/app.err" | tr -d '\r')
check "it is in %LOCALAPPDATA%\\Ombrevale ($kept)" \
  bash -c "[[ '$kept' == *'\\AppData\\Local\\Ombrevale\\last-minute-'*'.replay' ]]"
"$work/wm_close" "$w" >/dev/null 2>&1 || true
wait_status 10
check_rendered "the renderer plays the last minute as recorded" "$(winepath -u "$kept")"

# play NAME: the replay plays in real time to its end, its box shown, and says the renderer's line.
play() {
  local file=$replays/$1.replay
  renders "$file" || { fail "$1: the renderer does not play it ($rendered)"; return; }
  local expected=${rendered/$file/$(windows_path "$file")} boxed=no
  start --replay "$(windows_path "$file")"
  while kill -0 "$app_pid" 2>/dev/null; do
    [ $boxed = no ] && box_shown && boxed=yes
    sleep 0.2
  done
  wait_status 1
  check "$1.replay: status 0 (status $status)" [ "$status" = 0 ]
  check "$1.replay: ${expected%% of *}, as the renderer does, nothing on stderr" \
    bash -c "[ \"\$(tr -d '\r' <'$work/app.out')\" = '$expected' ] && [ ! -s '$work/app.err' ]"
  check "$1.replay: the box was shown as the player kept it open" [ $boxed = yes ]
}
# One in real time, another desktop's: the web page's. The Linux window and the page play the
# others; the renderer plays every one of them.
play web

# Frame 150 of the Linux program's replay, changed: caught there, the frames beside it.
changed=$work/replays/changed.replay
"$native/tests/tools/replay_edit" "$replays/linux-x11.replay" "$changed" change-hash 150
start --replay "$(windows_path "$changed")"
wait_status 30
check "a changed frame: status 1 (status $status)" [ "$status" = 1 ]
tr -d '\r' <"$work/app.err" >"$work/changed.err"
check "it is caught at frame 150" grep -q "^ombrevale: .*changed.replay went another way at frame 150: its hash is [0-9a-f]\{16\}, the replay holds [0-9a-f]\{16\}$" "$work/changed.err"
check "the inputs before it are said" grep -q "^ombrevale: the last inputs before it: .* at frame [0-9]*$" "$work/changed.err"
check "the frames beside it are said" grep -q "^ombrevale: the frames are beside the replay: .*changed.frame-150-shown.png, .*changed.frame-149-matched.png, .*changed.frame-150-difference.png$" "$work/changed.err"
"$renderer" --replay "$replays/linux-x11.replay" --frames-out "$work/replays/frames" >/dev/null 2>&1 || true
# The renderer draws the clock's label into its frames, a picture beside a replay does not: the
# canvas above the label is compared.
same_frame() {
  [ "$(identify -format '%m %w %h' "$1" 2>/dev/null)" = "PNG 400 300" ] &&
    convert "$1" -crop 400x280+0+0 +repage "$work/replays/a.png" &&
    convert "$2" -crop 400x280+0+0 +repage "$work/replays/b.png" &&
    [ "$(compare -metric AE "$work/replays/a.png" "$work/replays/b.png" null: 2>&1)" = 0 ]
}
check "the frame that matched is a PNG of the renderer's frame 149, above the label" \
  same_frame "$work/replays/changed.frame-149-matched.png" "$work/replays/frames/frame-0149.png"
check "the frame shown and the difference are PNG files of the canvas" bash -c \
  "[ \"\$(identify -format '%m %w %h ' '$work/replays/changed.frame-150-shown.png' '$work/replays/changed.frame-150-difference.png')\" = 'PNG 400 300 PNG 400 300 ' ]"

head -c 3000 "$replays/windows.replay" >"$work/replays/cut.replay"
start --replay "$(windows_path "$work/replays/cut.replay")"
wait_status 30
check "a replay cut short: status 2 (status $status)" [ "$status" = 2 ]
check "it is said in one sentence" [ "$(tr -d '\r' <"$work/app.err")" = \
  "ombrevale: cannot play $(windows_path "$work/replays/cut.replay"): the replay is cut short" ]
