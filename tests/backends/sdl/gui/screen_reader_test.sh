#!/usr/bin/env bash
# The program as a screen reader finds it, over a real accessibility bus (AT-SPI) on a private
# session bus: screen_reader.py reads the tree with pyatspi and prints it, checks the window, its
# menu and entry, the vision and the clock's caption, opens the version box through the entry's
# action, reads it, closes it through OK's action, and sees the vision go on; then the calm start's
# button, pressed through its action. On X11 (a private Xvfb), or as a native Wayland client
# (sway in its headless mode, run as nobody as wayland_test.sh runs it). Without a bus the program
# starts as before, saying nothing.
#   screen_reader_test.sh x11|wayland PROGRAM SHOTS-DIR   (run from the repository root)
set -u

mode=$1
program=$2
shots=$3
source_dir=$PWD
reader="$(cd "$(dirname "$0")" && pwd)/screen_reader.py"

work=$(mktemp -d)
chmod 755 "$work"
xvfb_pid=""
app_pid=""
sway_pid=""
bus_pid=""
launcher_pid=""
keyboard_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
# shellcheck source=tests/backends/sdl/gui/canvas_shots.sh
source "$(dirname "$0")/canvas_shots.sh"
finish() {
  stop_app
  for pid in "$keyboard_pid" "$launcher_pid" "$bus_pid" "$sway_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  done
  clean_up
}
trap finish EXIT
trap 'exit 1' INT TERM

need_tools dbus-daemon dbus-send /usr/bin/python3 /usr/libexec/at-spi-bus-launcher
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is not installed"; exit 77; }
[ -f "$(dirname "$program")/ombrevale-access.so" ] ||
  { echo "SKIP: the program is built without the screen readers' bridge"; exit 77; }

as_user=()
if [ "$mode" = wayland ] && [ "$(id -u)" -eq 0 ]; then
  need_tools setpriv
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
mkdir -m 700 "$work/run"
[ ${#as_user[@]} -gt 0 ] && chown nobody:nogroup "$work/run"
# Runs "$@" as the session's user, in the session: its bus, and its compositor on Wayland.
in_session() {
  "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus" ${DISPLAY:+DISPLAY=$DISPLAY} \
    ${wayland:+WAYLAND_DISPLAY=$wayland} "$@"
}
# The same in the background, `started` then its process itself (so that stopping it stops it).
started=""
in_session_behind() {
  (exec "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus" ${DISPLAY:+DISPLAY=$DISPLAY} \
    ${wayland:+WAYLAND_DISPLAY=$wayland} "$@") &
  started=$!
}

# A session bus of the test's own, which can start the accessibility bus on demand, as a
# desktop's can; then the accessibility bus beside it, as a desktop with a screen reader starts it.
start_session_bus() {
  "${as_user[@]}" env -u DISPLAY dbus-daemon --session --nofork --address="unix:path=$work/run/bus" \
    >"$work/bus.log" 2>&1 &
  bus_pid=$!
  retry 20 test -S "$work/run/bus" || fail "no session bus"
}
access_bus_runs() {
  in_session dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus | grep -q 'boolean true'
}
start_access_bus() {
  in_session_behind /usr/libexec/at-spi-bus-launcher --launch-immediately >"$work/launcher.log" 2>&1
  launcher_pid=$started
  retry 20 in_session dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
    org.a11y.Bus.GetAddress || fail "no accessibility bus: $(cat "$work/launcher.log")"
}

# The program, as the session's user, from a folder that user can read (the program, its halves,
# its pictures).
start_in_session() {
  (cd "$work/app" && exec env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/run/bus" ${DISPLAY:+DISPLAY=$DISPLAY} \
    ${wayland:+WAYLAND_DISPLAY=$wayland} SDL_AUDIODRIVER=dummy "$@" \
    "${as_user[@]}" timeout 120 ./ombrevale "${app_args[@]}") >"$work/app.log" 2>&1 &
  app_pid=$!
}
read_tree() {
  in_session timeout 120 /usr/bin/python3 -u "$reader" "$1" "$(product_caption)" >"$work/reader.log" 2>&1
  local status=$?
  cat "$work/reader.log"
  [ "$status" -eq 0 ] || fail "$mode: the screen reader's check failed"
}

mkdir -p "$work/app" "$shots"
cp "$program" "$(dirname "$program")/ombrevale-sdl.so" "$(dirname "$program")/ombrevale-access.so" \
  "$work/app/"
cp -r "$source_dir/dat" "$work/app/dat"
chmod -R a+rX "$work/app"

wayland=""
if [ "$mode" = x11 ]; then
  need_tools xdotool xwininfo import convert compare
  start_xvfb 300 || fail "no X server could be started"
else
  need_tools sway wtype
  unset DISPLAY
  printf 'output HEADLESS-1 resolution 1600x1200 scale 2\nfor_window [app_id=".*"] floating enable\nxwayland disable\n' \
    >"$work/sway.conf"
  chmod 644 "$work/sway.conf"
  "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$work/run" \
    WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
  sway_pid=$!
  retry 20 bash -c "ls '$work/run' | grep -q '^wayland-[0-9]*$'" || fail "sway did not start"
  wayland=$(ls "$work/run" | grep -m 1 '^wayland-[0-9]*$')
  # A keyboard in the seat, as a desktop has, which gives the window the keyboard: wtype's, which
  # waits there and types nothing.
  in_session_behind wtype -s 250000 -k Shift_L >/dev/null 2>&1
  keyboard_pid=$started
fi

# Without an accessibility bus: on a session bus that cannot start one, and on none, the program
# shows its window and says nothing.
if [ "$mode" = x11 ]; then
  cat >"$work/bare-bus.conf" <<CONF
<busconfig>
  <type>session</type>
  <listen>unix:path=$work/run/bare-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
  </policy>
</busconfig>
CONF
  dbus-daemon --config-file="$work/bare-bus.conf" --nofork >"$work/bare-bus.log" 2>&1 &
  bare_bus_pid=$!
  retry 20 test -S "$work/run/bare-bus" || fail "no bare session bus"
  for bus in "unix:path=$work/run/bare-bus" ""; do
    (cd "$work/app" && exec env -u DBUS_SESSION_BUS_ADDRESS ${bus:+DBUS_SESSION_BUS_ADDRESS=$bus} \
      SDL_AUDIODRIVER=dummy timeout 120 ./ombrevale) >"$work/app.log" 2>&1 &
    app_pid=$!
    [ -n "$(main_window)" ] || fail "without an accessibility bus (${bus:-no session bus}) no window"
    sleep 1
    [ -s "$work/app.log" ] && fail "without an accessibility bus (${bus:-no session bus}) it spoke"
    stop_app
  done
  kill "$bare_bus_pid" 2>/dev/null
  wait "$bare_bus_pid" 2>/dev/null
  echo "ok: without an accessibility bus the window shows and nothing is said"
fi
start_session_bus
if [ "$mode" = x11 ]; then
  # On a session bus that could start the accessibility bus, the program does not start it.
  app_args=()
  start_in_session
  [ -n "$(main_window)" ] || fail "on a session bus without an accessibility bus, no window"
  sleep 1
  access_bus_runs && fail "the program started the accessibility bus, for nobody"
  [ -s "$work/app.log" ] && fail "on a session bus without an accessibility bus, it spoke"
  stop_app
  echo "ok: on a session bus the program leaves the accessibility bus unstarted"
fi
start_access_bus

# The title page: the tree, the box through the actions, and the vision going on after it.
app_args=()
start_in_session
read_tree title
if [ "$mode" = x11 ]; then
  window=$(main_window)
  [ -n "$window" ] || fail "no window"
  canvas_shot "$window" 1 "$work/m1.png" && sleep 0.3 && canvas_shot "$window" 1 "$work/m2.png" ||
    fail "no screenshot"
  same "$work/m1.png" "$work/m2.png" && fail "the vision stands still after the box"
fi
stop_app
echo "ok: $mode - the title page read and driven through the accessibility bus"

# The calm start: its button, pressed through its action.
app_args=(--calm)
start_in_session
read_tree calm
stop_app
echo "ok: $mode - the calm start's button pressed through the accessibility bus"
