#!/usr/bin/env bash
# The page at its true size on a scaled X11 desktop, in a real window on a private X server.
#   scale_test.sh dpi    PROGRAM SHOTS-DIR - Xft.dpi 96, 120, 144, 192 and 288 in the root window's
#                                            resources, GDK_SCALE and --scale: the client area is
#                                            N x (404 x 324) and the canvas all N x N blocks
#   scale_test.sh change PROGRAM SHOTS-DIR - the desktop's scale changed while the program runs:
#                                            the window re-fits
#   scale_test.sh small  PROGRAM SHOTS-DIR - a 1280 x 800 screen, too small for what Xft.dpi 768,
#                                            GDK_SCALE=1000 or --scale 3 ask: the window takes the
#                                            largest factor that fits, on the screen; an absurd
#                                            scale is said once; fullscreen is the screen's size
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

mode=$1
program=$2
shots=$3

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
# shellcheck source=tests/backends/sdl/gui/canvas_shots.sh
source "$(dirname "$0")/canvas_shots.sh"
trap 'stop_app; clean_up' EXIT

need_tools xdotool xwininfo xprop import convert compare identify
screen=1920x1200
[ "$mode" = small ] && screen=1280x800
start_xvfb 300 "$screen" || fail "no X server could be started"
mkdir -p "$shots"

# Starts the program as row's $1 asks: with GDK_SCALE=N in its environment, or with its words as
# arguments.
start_asked() {
  if [[ $1 == GDK_SCALE=* ]]; then
    GDK_SCALE=${1#GDK_SCALE=} start_app
  else
    # shellcheck disable=SC2086
    start_app $1
  fi
}

if [ "$mode" = dpi ]; then
  # dpi, what else is asked, and the factor the rule gives.
  for row in "96||1" "120||1" "144||2" "192||2" "288||3" "96|GDK_SCALE=2|2" "192|--scale 3|3" \
    "288|--scale 1|1"; do
    IFS='|' read -r dpi asked n <<<"$row"
    set_dpi "$dpi"
    start_asked "$asked"
    retry 10 sized "$window" $((404 * n)) $((324 * n)) ||
      fail "at $dpi dpi ($asked): the window is $(window_size "$window"), expected $((404 * n)) x $((324 * n))"
    shot="$shots/scale-$dpi-dpi-${n}x.png"
    lit_shot "$window" "$n" "$shot" || fail "at $dpi dpi the canvas stays black"
    in_blocks "$shot" "$n" || fail "at $dpi dpi ($asked) the canvas is not all $n x $n blocks: $shot"
    stop_app
    echo "ok: $dpi dpi ${asked:+($asked) }- ${n}x, $((404 * n)) x $((324 * n)), in blocks"
  done
  exit 0
fi

if [ "$mode" = change ]; then
  set_dpi 96
  start_app
  retry 10 sized "$window" 404 324 || fail "at 96 dpi the window is $(window_size "$window")"
  # The player sets the desktop to 200 %, then back.
  set_dpi 192
  retry 20 sized "$window" 808 648 ||
    fail "after Xft.dpi became 192 the window is $(window_size "$window"), expected 808 x 648"
  lit_shot "$window" 2 "$work/after.png" && in_blocks "$work/after.png" 2 ||
    fail "after the change the canvas is not in 2 x 2 blocks"
  set_dpi 96
  retry 20 sized "$window" 404 324 || fail "back at 96 dpi the window is $(window_size "$window")"
  kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
  stop_app
  echo "ok: the window re-fits as the desktop's scale changes: 404 x 324, 808 x 648, 404 x 324"
  exit 0
fi

# Where window $1 lies on the screen, as "X Y".
window_at() {
  xwininfo -id "$1" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 }
    END { print x, y }'
}
if [ "$mode" = small ]; then
  sentence="ombrevale: the desktop's scale of 1000 is beyond any screen's, so it is taken as 8"
  for row in "768||808 648" "96|GDK_SCALE=1000|808 648" "96|--scale 3|808 648" \
    "96|--scale 3 --fullscreen|1280 800"; do
    IFS='|' read -r dpi asked size <<<"$row"
    set_dpi "$dpi"
    start_asked "$asked"
    read -r w h <<<"$size"
    retry 10 sized "$window" "$w" "$h" ||
      fail "at $dpi dpi ($asked) the window is $(window_size "$window"), expected $w x $h"
    read -r x y < <(window_at "$window")
    if ((x < 0 || y < 0 || x + w > 1280 || y + h > 800)); then
      fail "at $dpi dpi ($asked) the window lies at $x, $y, off the screen"
    fi
    if [ "$w" = 808 ]; then
      lit_shot "$window" 2 "$work/small.png" || fail "at $dpi dpi ($asked) the canvas stays black"
      in_blocks "$work/small.png" 2 || fail "at $dpi dpi ($asked) the canvas is not in 2 x 2 blocks"
    fi
    stop_app
    if [[ $asked == GDK_SCALE=* ]]; then
      [ "$(cat "$work/app.log")" = "$sentence" ] ||
        fail "GDK_SCALE=1000 was said as: $(cat "$work/app.log")"
    else
      [ ! -s "$work/app.log" ] || fail "at $dpi dpi ($asked) it said: $(cat "$work/app.log")"
    fi
    echo "ok: on 1280 x 800, $dpi dpi ${asked:+($asked) }- $w x $h at $x, $y"
  done
  exit 0
fi

fail "unknown mode $mode"
