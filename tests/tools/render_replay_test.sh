#!/usr/bin/env bash
# The renderer plays the replays every desktop recorded (the Linux program under Xvfb, the Windows
# program under Wine, the web page in Chromium), frame for frame; and the positive controls: the
# Linux replay with its first input (the calm start's Return) moved one pass later, and with one
# frame's hash changed, each caught at its frame, with the frames left beside it; a replay cut
# short, changed or of another version is refused with one sentence, status 2.
#   render_replay_test.sh RENDERER REPLAY-EDIT OUT-DIR
set -u

render=$1
edit=$2
out=$3
reference=tests/reference/replays/linux-x11.replay
rm -rf "$out" && mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Each desktop's replay, NAME:FRAMES: every frame as recorded, nothing on stderr.
for played in linux-x11:602 windows:504 web:709; do
  replay=tests/reference/replays/${played%%:*}.replay
  "$render" --replay "$replay" >"$out/stdout" 2>"$out/stderr" ||
    fail "$replay ended with status $?: $(cat "$out/stderr")"
  [ -s "$out/stderr" ] && fail "$replay said on stderr: $(cat "$out/stderr")"
  grep -qx "checked ${played#*:} frames of $replay: every one as recorded" "$out/stdout" ||
    fail "$replay said: $(cat "$out/stdout")"
done

# Caught at frame $2: status 1, the sentence, the inputs before it; the frames beside the replay.
caught() {
  local replay=$1 frame=$2 what=$3
  "$render" --replay "$replay" >"$out/stdout" 2>"$out/stderr"
  local status=$?
  [ $status -eq 1 ] || fail "$replay ended with status $status, not 1: $(cat "$out/stderr")"
  grep -q "^ombrevale: $replay went another way at frame $frame: $what" "$out/stderr" ||
    fail "$replay: $(cat "$out/stderr")"
  grep -qE "^ombrevale: (the last inputs before it: |no input came before it$)" "$out/stderr" ||
    fail "$replay does not say the inputs before it: $(cat "$out/stderr")"
}

"$edit" "$reference" "$out/late-return.replay" move-input 0 || fail "could not move the input"
caught "$out/late-return.replay" 2 \
  "the program began a pass of the loop where the replay holds a frame"
grep -q "^ombrevale: the last inputs before it: the window at 404 x 324 at frame 0$" \
  "$out/stderr" || fail "the moved Return is said as given: $(cat "$out/stderr")"
file "$out/late-return.frame-1-matched.png" | grep -q "PNG image data, 400 x 300" ||
  fail "no frame 1 beside the replay with the late Return"

"$edit" "$reference" "$out/changed-hash.replay" change-hash 300 || fail "could not change the hash"
caught "$out/changed-hash.replay" 300 "its hash is [0-9a-f]\{16\}, the replay holds [0-9a-f]\{16\}"
last_inputs="the box closed after [0-9]* ms at frame 119, the window at 808 x 648 at frame 216"
grep -q "the last inputs before it: .*$last_inputs$" "$out/stderr" ||
  fail "the inputs before frame 300: $(cat "$out/stderr")"
for picture in frame-300-shown frame-299-matched frame-300-difference; do
  file "$out/changed-hash.$picture.png" | grep -q "PNG image data, 400 x 300" ||
    fail "no $picture.png beside the replay"
done

# Bad files: one sentence, status 2.
head -c 3000 "$reference" >"$out/cut.replay"
cp "$reference" "$out/changed.replay"
printf 'X' | dd of="$out/changed.replay" bs=1 seek=2000 conv=notrunc status=none
"$edit" "$reference" "$out/older.replay" product "Ombrevale 0.12" ||
  fail "could not change the version"
for bad in "cut.replay:the replay is cut short" \
  "changed.replay:the replay is corrupted: its checksum does not match" \
  "older.replay:the replay was recorded by Ombrevale 0.12, and this is Ombrevale 0.13" \
  "missing.replay:No such file or directory"; do
  "$render" --replay "$out/${bad%%:*}" >/dev/null 2>"$out/stderr"
  status=$?
  [ $status -eq 2 ] || fail "${bad%%:*} ended with status $status, not 2"
  [ "$(cat "$out/stderr")" = "ombrevale: cannot play $out/${bad%%:*}: ${bad#*:}" ] ||
    fail "${bad%%:*}: $(cat "$out/stderr")"
done
echo "ok"
