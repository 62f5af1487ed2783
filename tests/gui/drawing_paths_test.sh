#!/usr/bin/env bash
# The two ways a frame reaches the screen show the same pixels. Under Xvfb (no graphics card) the
# window draws in software; forced through SDL_RENDER_DRIVER=opengl it takes the graphics card's
# path, run here by Mesa's llvmpipe. The same seed, frame for frame, at twice the natural size.
#   drawing_paths_test.sh WINDOW_FRAMES
set -u
window_frames=$1
frames=40
size=808x648

work=$(mktemp -d)
xvfb_pid=""
# shellcheck source=tests/gui/xvfb.sh
source "$(dirname "$0")/xvfb.sh"
clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

start_xvfb 200 1920x1080 || fail "no X server could be started"
export SDL_AUDIODRIVER=dummy
env -u SDL_RENDER_DRIVER "$window_frames" "$frames" "$size" >"$work/chosen" 2>"$work/err" ||
  fail "the window could not draw: $(cat "$work/err")"
SDL_RENDER_DRIVER=software "$window_frames" "$frames" "$size" >"$work/software" 2>>"$work/err" ||
  fail "the software path could not draw: $(cat "$work/err")"
SDL_RENDER_DRIVER=opengl "$window_frames" "$frames" "$size" >"$work/opengl" 2>>"$work/err" ||
  fail "the graphics card's path could not draw: $(cat "$work/err")"

[ "$(head -n 1 "$work/chosen")" = "drawing: software" ] ||
  fail "under Xvfb the window chose \"$(head -n 1 "$work/chosen")\", not software"
[ "$(head -n 1 "$work/opengl")" = "drawing: opengl" ] ||
  fail "SDL_RENDER_DRIVER=opengl gave \"$(head -n 1 "$work/opengl")\""
[ "$(tail -n +2 "$work/software" | sort -u | wc -l)" -gt 5 ] ||
  fail "the frames hardly differ: the vision did not run"
diff <(tail -n +2 "$work/software") <(tail -n +2 "$work/opengl") >"$work/diff" ||
  fail "the graphics card's path shows other pixels than software: $(head -n 6 "$work/diff")"
diff <(tail -n +2 "$work/software") <(tail -n +2 "$work/chosen") >/dev/null ||
  fail "the chosen path shows other pixels than the forced software one"
echo "drawing paths: software chosen under Xvfb; $frames frames at $size the same on both paths"
