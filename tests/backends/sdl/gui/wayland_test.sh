#!/usr/bin/env bash
# The program as a native Wayland client, on sway in its headless mode (one output, scale 1, then
# 2): the window is Wayland's own (xdg_shell, not XWayland) with the launcher's app id, lit and
# moving, its canvas in S x S blocks of the output's pixels; Alt+V opens the version box and Return
# closes it; F11 makes it fullscreen and back; the compositor's close ends it with status 0. Then,
# with the desktop portal (a test portal on a session bus of the test's own) saying GNOME's
# animations are off, the page stands still, lit, with its button, until Return starts it. Last, an
# output at an absurd scale (a hundredth), said once, the window kept to the screen.
#   wayland_test.sh PROGRAM SHOTS-DIR FAKE_PORTAL
#                                         (run from the repository root: the pictures are in dat/)
# sway refuses to run as root: as root, the compositor, the program and the tools that talk to the
# compositor run as nobody, with the program and its pictures copied where nobody can read them.
set -u

program=$1
shots=$2
fake_portal=$3
source_dir=$PWD

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid=""
sway_pid=""
app_pid=""
bus_pid=""
portal_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
# shellcheck source=tests/backends/sdl/gui/picture_checks.sh
source "$(dirname "$0")/picture_checks.sh"

fail() {
  echo "FAIL: $*" >&2
  if [ -s "$work/app.log" ]; then
    echo "--- program output:" >&2
    cat "$work/app.log" >&2
  fi
  if [ -s "$work/sway.log" ]; then
    echo "--- sway's last words:" >&2
    tail -n 5 "$work/sway.log" >&2
  fi
  exit 1
}
finish() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$portal_pid" ] && kill "$portal_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  [ -n "$sway_pid" ] && kill "$sway_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap finish EXIT
trap 'exit 1' INT TERM

need_tools sway swaymsg grim wtype convert compare identify python3 dbus-daemon
unset DISPLAY WAYLAND_DISPLAY SDL_VIDEODRIVER
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  need_tools setpriv
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# Runs "$@" as the compositor's user, in its session.
in_session() {
  "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    WAYLAND_DISPLAY="$wayland" "$@"
}
swaymsg_() { in_session swaymsg -s "$sock" "$@"; }

# The program, its SDL half and its pictures, where the compositor's user can read them.
mkdir -p "$work/app"
cp "$program" "$(dirname "$program")/ombrevale-sdl.so" "$fake_portal" "$work/app/"
cp -r "$source_dir/dat" "$work/app/dat"
chmod -R a+rX "$work/app"
mkdir -p "$shots"

# The window's content on the output, in device pixels, as "X Y W H"; and its node's id, app id
# and shell as "ID APP_ID SHELL", from the compositor's tree.
window_node() {
  swaymsg_ -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("app_id") or n.get("window_properties"):
        yield n
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        yield from walk(c)
for n in walk(json.load(sys.stdin)):
    r, w = n["rect"], n["window_rect"]
    print(n["id"], n.get("app_id"), n.get("shell"), r["x"] + w["x"], r["y"] + w["y"], w["width"],
          w["height"], n.get("fullscreen_mode", 0))
    break'
}
node=""
found_window() {
  node=$(window_node)
  [ -n "$node" ]
}

# The window's content now, into $1 (device pixels), from a shot of the whole output.
content_shot() {
  local id app shell x y w h full
  read -r id app shell x y w h full <<<"$(window_node)"
  in_session grim "$work/run/output.png" 2>/dev/null || return 1
  convert "$work/run/output.png" -crop "$((w * scale))x$((h * scale))+$((x * scale))+$((y * scale))" \
    +repage "$1"
}
# The canvas, rows above the label, of a content shot $1 at factor $2, into $3.
canvas_of() {
  convert "$1" -crop "$((400 * $2))x$((280 * $2))+$((2 * $2))+$((22 * $2))" +repage "$3"
}
# The version box: its navy title bar somewhere in the content.
box_shown() {
  content_shot "$work/box.png" &&
    [ "$(convert "$work/box.png" -fill black +opaque "#000080" -format '%[fx:maxima]' info:)" != 0 ]
}
box_gone() { ! box_shown; }
lit_content() { content_shot "$work/lit.png" && lit "$work/lit.png"; }
# Types keys "$1" (wtype's words) until "${@:2}" holds, waiting for it 10 seconds after each time.
# Each wtype brings a keyboard of its own to the seat, which the program binds only as it comes;
# keys sent before that are lost, so a key whose effect does not show is typed again.
press_until() {
  local keys=$1 i
  shift
  for i in 1 2 3; do
    # shellcheck disable=SC2086
    in_session wtype -s 300 $keys
    retry 10 "$@" && return 0
  done
  return 1
}
fullscreen_is() {
  local id app shell x y w h full
  read -r id app shell x y w h full <<<"$(window_node)"
  [ "$full" = "$1" ]
}

# Starts the program, with the environment's words "$@" added; waits for its window, whose node
# is then in `node`.
start_app() {
  (cd "$work/app" && exec "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" \
    XDG_RUNTIME_DIR="$work/run" WAYLAND_DISPLAY="$wayland" SDL_AUDIODRIVER=dummy "$@" \
    timeout 120 ./ombrevale) >"$work/app.log" 2>&1 &
  app_pid=$!
  retry 30 found_window || fail "at scale $scale no window appeared in the compositor's tree"
}
# Closes the window as the compositor does; the program must end with status 0.
close_app() {
  local id
  read -r id _ <<<"$node"
  swaymsg_ "[con_id=$id] kill" >/dev/null
  retry 20 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "at scale $scale the close did not end it"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "at scale $scale the close ended it with status $status"
}
# The canvas of the window now, into $1.
canvas_now() { content_shot "$work/now.png" && canvas_of "$work/now.png" "$scale" "$1"; }
# Waits until the vision moves: two shots that differ, within 20 seconds.
moves() {
  local until=$((SECONDS + 20))
  while ((SECONDS < until)); do
    canvas_now "$work/m1.png" && sleep 0.2 && canvas_now "$work/m2.png" &&
      ! same "$work/m1.png" "$work/m2.png" && return 0
  done
  return 1
}
# The calm start's panel shows on the canvas.
prompt_shown() { canvas_now "$work/p.png" && shows_a_box "$work/p.png"; }

# Starts sway with its output at `scale`, WIDTHxHEIGHT $1, its windows floating unless $2 is
# "tiled".
start_sway() {
  rm -rf "$work/run"
  mkdir -m 700 "$work/run"
  [ ${#as_user[@]} -gt 0 ] && chown nobody:nogroup "$work/run"
  {
    echo "output HEADLESS-1 resolution $1 scale $scale"
    [ "${2:-}" = tiled ] || echo 'for_window [app_id=".*"] floating enable'
    echo "xwayland disable"
  } >"$work/sway.conf"
  chmod 644 "$work/sway.conf"
  "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  sway_pid=$!
  retry 20 bash -c "ls '$work/run' | grep -q '^wayland-[0-9]*$' && ls '$work/run' | grep -q 'sway-ipc'" ||
    fail "sway did not start at scale $scale"
  wayland=$(ls "$work/run" | grep -m 1 '^wayland-[0-9]*$')
  sock=$(ls "$work/run"/sway-ipc.*.sock)
}
stop_sway() {
  kill "$sway_pid" 2>/dev/null
  wait "$sway_pid" 2>/dev/null
  sway_pid=""
}

for scale in 1 2; do
  start_sway 1600x1200

  start_app
  read -r id app shell x y w h full <<<"$node"
  [ "$app" = org.ombrevale.Ombrevale ] || fail "at scale $scale the app id is \"$app\""
  [ "$shell" = xdg_shell ] || fail "at scale $scale the window is $shell, not a native one"
  # Its size in the output's logical units is the natural one: in pixels, the page at the scale.
  [ "$w x $h" = "404 x 324" ] || fail "at scale $scale the window is $w x $h, expected 404 x 324"

  retry 30 lit_content || fail "at scale $scale the window stays black"
  content_shot "$work/first.png" || fail "no shot"
  canvas_of "$work/first.png" "$scale" "$work/canvas.png"
  in_blocks "$work/canvas.png" "$scale" || fail "at scale $scale the canvas is not in $scale x $scale blocks"
  cp "$work/first.png" "$shots/wayland-${scale}x.png"
  moves || fail "at scale $scale the vision does not move"

  # The keyboard, by its places: Alt+V opens the box, Return closes it.
  press_until "-M alt -k v -m alt" box_shown || fail "at scale $scale Alt+V opened no box"
  cp "$work/box.png" "$shots/wayland-${scale}x-box.png"
  press_until "-k Return" box_gone || fail "at scale $scale Return did not close the box"

  # F11: the whole output, and back.
  press_until "-k F11" fullscreen_is 1 || fail "at scale $scale F11 did not make it fullscreen"
  retry 30 lit_content || fail "at scale $scale the fullscreen window is black"
  content_shot "$work/full.png" && cp "$work/full.png" "$shots/wayland-${scale}x-fullscreen.png"
  press_until "-k F11" fullscreen_is 0 || fail "at scale $scale F11 did not end the fullscreen"

  # The compositor's close: status 0.
  close_app
  echo "ok: scale $scale - native, $app, $((w * scale)) x $((h * scale)) pixels, crisp, moving," \
    "box, fullscreen, closed with status 0"

  if [ "$scale" = 2 ]; then
    # GNOME's animations off, as the desktop portal says it on the session bus.
    "${as_user[@]}" dbus-daemon --session --nofork --address="unix:path=$work/run/bus" \
      >"$work/bus.log" 2>&1 &
    bus_pid=$!
    retry 20 test -S "$work/run/bus" || fail "no session bus"
    "${as_user[@]}" env DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus" \
      "$work/app/$(basename "$fake_portal")" org.gnome.desktop.interface enable-animations false \
      >"$work/portal.log" 2>&1 &
    portal_pid=$!
    retry 20 grep -q ready "$work/portal.log" || fail "the test's portal did not start"
    start_app DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus"
    retry 30 prompt_shown || fail "with animations off no button came"
    cp "$work/now.png" "$shots/wayland-2x-calm.png"
    canvas_now "$work/still-1.png" && sleep 1 && canvas_now "$work/still-2.png" ||
      fail "no shot of the calm start"
    lit "$work/still-1.png" || fail "the calm start is black"
    same "$work/still-1.png" "$work/still-2.png" || fail "with animations off the canvas moved"
    press_until "-k Return" moves || fail "Return did not start the vision"
    close_app
    kill "$portal_pid" "$bus_pid" 2>/dev/null
    wait "$portal_pid" "$bus_pid" 2>/dev/null
    portal_pid="" bus_pid=""
    echo "ok: the desktop portal's animations off - the page stands still, lit, until Return"
  fi
  stop_sway
done

# An output at a hundredth of its scale, its windows tiled: a screen of 128000 x 80000 points,
# to which the compositor sizes the window before telling it the scale. The program says once
# that the scale is absurd, keeps the window to what the screen holds, and the compositor's close
# still ends it at once.
scale=0.01
start_sway 1280x800 tiled
start_app
retry 30 grep -q "scale of 0.0[0-9]* is beyond any screen's, so it is taken as 1" "$work/app.log" ||
  fail "at scale 0.01 the absurd scale was not said"
kill -0 "$app_pid" 2>/dev/null || fail "at scale 0.01 the program ended"
close_app
[ "$(wc -l <"$work/app.log")" -eq 1 ] || fail "at scale 0.01 more than the one line was said"
stop_sway
echo "ok: scale 0.01 - said once, the window kept to the screen, closed with status 0"
