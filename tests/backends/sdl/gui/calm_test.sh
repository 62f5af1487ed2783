#!/usr/bin/env bash
# The calm start on X11, in a real window on a private X server: with the desktop's animations off
# in XSETTINGS (what GNOME publishes, served here by xsettingsd), or with --calm (given to the
# program, or to scripts/run as the README says), the page is lit and its canvas stands still
# until Return starts the vision; without either it moves at once.
#   calm_test.sh PROGRAM SHOTS-DIR
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

program=$1
shots=$2

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
settings_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
# shellcheck source=tests/backends/sdl/gui/canvas_shots.sh
source "$(dirname "$0")/canvas_shots.sh"
trap 'stop_app; [ -n "$settings_pid" ] && kill "$settings_pid" 2>/dev/null; clean_up' EXIT

need_tools xdotool xwininfo xprop import convert compare xsettingsd
start_xvfb 300 1920x1200 || fail "no X server could be started"
mkdir -p "$shots"
set_dpi 96
# Two shots of the canvas a second apart, into $1-1.png and $1-2.png.
two_shots() {
  canvas_shot "$window" 1 "$work/$1-1.png" || fail "no screenshot"
  sleep 1
  canvas_shot "$window" 1 "$work/$1-2.png" || fail "no screenshot"
}
# Waits until the vision moves: shots that differ, within 20 seconds.
moves() {
  local until=$((SECONDS + 20))
  while ((SECONDS < until)); do
    canvas_shot "$window" 1 "$work/m1.png" && sleep 0.25 && canvas_shot "$window" 1 "$work/m2.png" &&
      ! same "$work/m1.png" "$work/m2.png" && return 0
  done
  return 1
}

# The desktop's own setting: GNOME's animations switch, published as XSETTINGS.
printf 'Gtk/EnableAnimations 0\n' >"$work/xsettingsd.conf"
xsettingsd -c "$work/xsettingsd.conf" >"$work/xsettingsd.log" 2>&1 &
settings_pid=$!
retry 20 grep -q "Took ownership of selection" "$work/xsettingsd.log" ||
  fail "xsettingsd did not take the settings' selection: $(cat "$work/xsettingsd.log")"
# As a newcomer starts it, with the README's command: scripts/run passes --calm on. It builds what
# is missing before it starts build/ombrevale, so it is tried only where that is the program under
# test (not in another build's folder, which it would build anew), and given the time a build
# step takes on a busy machine.
start_run_script() {
  SDL_AUDIODRIVER=dummy timeout 300 scripts/run --calm >"$work/app.log" 2>&1 &
  app_pid=$!
  local until=$((SECONDS + 240))
  window=""
  while [ -z "$window" ] && ((SECONDS < until)) && kill -0 "$app_pid" 2>/dev/null; do
    window=$(main_window)
  done
  [ -n "$window" ] || fail "scripts/run --calm: no window"
}
ways=("animations off" "--calm")
if [ "$(realpath "$program")" = "$(realpath -m build/ombrevale)" ]; then
  ways+=("scripts/run --calm")
else
  echo "note: scripts/run --calm not tried: the program under test is not build/ombrevale here"
fi
for how in "${ways[@]}"; do
  if [ "$how" = "animations off" ]; then
    start_app
  else
    if [ -n "$settings_pid" ]; then
      kill "$settings_pid" 2>/dev/null
      wait "$settings_pid" 2>/dev/null
      settings_pid=""
    fi
    if [ "$how" = --calm ]; then start_app --calm; else start_run_script; fi
  fi
  # The first frame, then the button over it.
  until=$((SECONDS + 30))
  while ((SECONDS < until)); do
    lit_shot "$window" 1 "$work/up.png" && shows_a_box "$work/up.png" && break
    sleep 0.1
  done
  shows_a_box "$work/up.png" || fail "$how: no button on the page"
  two_shots still
  cp "$work/still-2.png" "$shots/calm-${how//[ \/]/-}.png"
  same "$work/still-1.png" "$work/still-2.png" || fail "$how: the canvas moved in a second"
  xdotool key --window "$window" Return
  moves || fail "$how: Return did not start the vision"
  stop_app
  echo "ok: $how - the first frame stands still, lit, with its button; Return starts the vision"
done

# Neither: the vision moves as always.
start_app
moves || fail "without the setting or --calm the vision does not move"
stop_app
echo "ok: without either, the vision moves at once"
