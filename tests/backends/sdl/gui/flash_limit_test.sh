#!/usr/bin/env bash
# The flash limit in a real window on a private X server large enough for six times the page.
#   flash_limit_test.sh frames  WINDOW_FRAMES RENDERER - the vision from a fixed seed in a real
#                                 window shown at 6x shows, frame for frame, the renderer's frames
#                                 seen at 6x; on a 192-dpi desktop the same window is seen at 3x,
#                                 and shows the renderer's frames seen at 3x
#   flash_limit_test.sh program PROGRAM SHOTS-DIR    - the program at --scale 6 draws its page and
#                                 says nothing; with --no-flash-limit it says, once, that the vision
#                                 may flash past the safe limit
# Run from the repository root: the programs read their pictures from dat/ below it.
set -u

mode=$1
work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
# shellcheck source=tests/backends/sdl/gui/canvas_shots.sh
source "$(dirname "$0")/canvas_shots.sh"
trap 'stop_app; clean_up' EXIT

need_tools xdotool xwininfo xprop import convert compare
start_xvfb 300 2560x2048 || fail "no X server could be started"
export SDL_AUDIODRIVER=dummy
frames=20

# Whether the canvases the window showed ($1/canvas-N.ppm) are the renderer's frames in $2, frame
# for frame, above the clock's label (a text: the window draws it at the shown size); each side's
# frames in order, as one stream of RGB bytes.
same_frames() {
  local i window=() rendered=() first
  for ((i = 0; i < frames; i++)); do
    window+=("$1/canvas-$i.ppm")
    rendered+=("$2/frame-$(printf %04d "$i").png")
  done
  convert "${window[@]}" -crop 400x280+0+0 +repage -depth 8 "rgb:$work/window.rgb" &&
    convert "${rendered[@]}" -crop 400x280+0+0 +repage -depth 8 "rgb:$work/rendered.rgb" ||
    return 1
  first=$(cmp "$work/window.rgb" "$work/rendered.rgb" | awk '{ print $5 }' | tr -d ,)
  [ -z "$first" ] && [ -s "$work/window.rgb" ] && return 0
  echo "frame $(((${first:-1} - 1) / (400 * 280 * 3))) differs first" >&2
  return 1
}

if [ "$mode" = frames ]; then
  window_frames=$2
  renderer=$3
  # dpi, the window's factor, and the size it is seen at: its factor x 96 / dpi.
  for row in "96 6 6" "192 6 3"; do
    read -r dpi n seen <<<"$row"
    set_dpi "$dpi"
    mkdir -p "$work/window-$dpi" "$work/rendered-$seen"
    OMBREVALE_CANVAS_DIR="$work/window-$dpi" "$window_frames" "$frames" \
      "$((404 * n))x$((324 * n))" >"$work/window.log" 2>&1 ||
      fail "the window could not draw at $dpi dpi: $(cat "$work/window.log")"
    "$renderer" --seed 6 --frames "$frames" --scale "$seen" --out "$work/rendered-$seen" ||
      fail "the renderer could not draw at ${seen}x"
    same_frames "$work/window-$dpi" "$work/rendered-$seen" ||
      fail "at $dpi dpi the window shown at ${n}x does not show the frames seen at ${seen}x"
    echo "ok: at $dpi dpi, the window at ${n}x shows the frames seen at ${seen}x"
  done
  exit 0
fi

if [ "$mode" = program ]; then
  program=$2
  shots=$3
  mkdir -p "$shots"
  set_dpi 96
  sentence="ombrevale: the flash limit is off: the vision may flash past the safe limit"
  for asked in "" "--no-flash-limit"; do
    # shellcheck disable=SC2086 # no option, or one
    start_app --scale 6 $asked
    retry 10 sized "$window" $((404 * 6)) $((324 * 6)) ||
      fail "with --scale 6 $asked the window is $(window_size "$window")"
    lit_shot "$window" 6 "$shots/flash-limit-6x${asked:+-off}.png" ||
      fail "with --scale 6 $asked the canvas stays black"
    kill -0 "$app_pid" 2>/dev/null || fail "with --scale 6 $asked the program ended"
    stop_app
    if [ -z "$asked" ]; then
      [ -s "$work/app.log" ] && fail "the program said: $(cat "$work/app.log")"
    else
      [ "$(cat "$work/app.log")" = "$sentence" ] ||
        fail "with --no-flash-limit the program said \"$(cat "$work/app.log")\", not \"$sentence\""
    fi
    echo "ok: --scale 6 $asked draws the page at 6x${asked:+ and says it may flash past the limit}"
  done
  exit 0
fi

fail "unknown mode $mode"
