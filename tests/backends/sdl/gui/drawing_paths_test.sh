#!/usr/bin/env bash
# The two ways a frame reaches the screen show the same pixels. Under Xvfb (no graphics card) the
# window draws in software, into the X server's shared memory; forced through
# SDL_RENDER_DRIVER=opengl it takes the graphics card's path, run here by Mesa's llvmpipe. The same
# seed, frame for frame, at twice the natural size: the pictures exactly, the texts (drawn at that
# size and blended by each path its own way) within a few levels of each channel.
#   drawing_paths_test.sh WINDOW_FRAMES
set -u
window_frames=$1
frames=40
size=808x648

work=$(mktemp -d)
xvfb_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

need_tools compare
start_xvfb 200 1920x1080 || fail "no X server could be started"
export SDL_AUDIODRIVER=dummy
mkdir -p "$work/chosen-frames" "$work/opengl-frames"
env -u SDL_RENDER_DRIVER OMBREVALE_FRAMES_DIR="$work/chosen-frames" \
  "$window_frames" "$frames" "$size" >"$work/chosen" 2>"$work/err" ||
  fail "the window could not draw: $(cat "$work/err")"
SDL_RENDER_DRIVER=software "$window_frames" "$frames" "$size" >"$work/software" 2>>"$work/err" ||
  fail "the software path could not draw: $(cat "$work/err")"
SDL_RENDER_DRIVER=opengl OMBREVALE_FRAMES_DIR="$work/opengl-frames" \
  "$window_frames" "$frames" "$size" >"$work/opengl" 2>>"$work/err" ||
  fail "the graphics card's path could not draw: $(cat "$work/err")"

[ "$(head -n 1 "$work/chosen")" = "drawing: x11-shm" ] ||
  fail "under Xvfb the window chose \"$(head -n 1 "$work/chosen")\", not the X server's shared memory"
[ "$(head -n 1 "$work/opengl")" = "drawing: opengl" ] ||
  fail "SDL_RENDER_DRIVER=opengl gave \"$(head -n 1 "$work/opengl")\""
[ "$(tail -n +2 "$work/software" | sort -u | wc -l)" -gt 5 ] ||
  fail "the frames hardly differ: the vision did not run"
diff <(tail -n +2 "$work/software") <(tail -n +2 "$work/opengl") >"$work/diff" ||
  fail "the graphics card's path shows other pixels than software: $(head -n 6 "$work/diff")"
diff <(tail -n +2 "$work/software") <(tail -n +2 "$work/chosen") >/dev/null ||
  fail "the chosen path shows other pixels than the forced software one"
# The texts: every pixel within 2 % (five levels of 255) of the other path's.
for ((i = 0; i < frames; i++)); do
  differing=$(compare -metric AE -fuzz 2% "$work/chosen-frames/frame-$i.ppm" \
    "$work/opengl-frames/frame-$i.ppm" null: 2>&1) || true
  [ "$differing" = 0 ] || fail "frame $i: $differing pixels differ by more than 2 % between the paths"
done
echo "drawing paths: X11 shared memory chosen under Xvfb; $frames frames at $size the same on" \
  "both paths, texts within 2 %"
