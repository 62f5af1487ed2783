#!/usr/bin/env bash
# The desktop's settings read while their owner comes and goes, on a private X server: another
# client makes a window, has it own the XSETTINGS selection and destroys it, over and over. The
# settings are read thousands of times meanwhile, and then the program itself starts and closes a
# few times: neither may end on the window that went away.
#   settings_race_test.sh RACE PROGRAM WM_CLOSE
# Run from the repository root: the program reads its pictures from dat/ below it.
set -u

race=$1
program=$2
wm_close=$3

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
flicker_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
trap '[ -n "$flicker_pid" ] && kill "$flicker_pid" 2>/dev/null; clean_up' EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/app.log" ] && { echo "--- program output:" >&2; cat "$work/app.log" >&2; }
  exit 1
}

need_tools xdotool
start_xvfb 200 || fail "no X server could be started"
"$race" flicker &
flicker_pid=$!

# The reading alone, many times over: most reads meet the owner or no one, and some meet the
# owner just as it goes.
"$race" read 5000 >"$work/race.log" 2>&1
status=$?
[ "$status" -eq 3 ] && fail "the owner never came and went under the reading: $(cat "$work/race.log")"
[ "$status" -eq 0 ] || fail "reading the settings ended with status $status: $(cat "$work/race.log")"
echo "ok: the settings read 5000 times while their owner came and went: $(cat "$work/race.log")"

# The program, from its start to a close.
for run in 1 2 3 4 5; do
  SDL_AUDIODRIVER=dummy timeout 60 "$program" >"$work/app.log" 2>&1 &
  app_pid=$!
  # xdotool walks every window, and ends on one of the owners that went away under it: asked
  # again, it finds the program's window between them.
  window=""
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    window=$(main_window)
    [ -n "$window" ] && break
    kill -0 "$app_pid" 2>/dev/null || break
  done
  [ -n "$window" ] || fail "start $run: no window"
  close_window "$window" "$wm_close"
  retry 20 bash -c "! kill -0 $app_pid 2>/dev/null" || fail "start $run: the close did not end it"
  wait "$app_pid"
  status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "start $run ended with status $status"
done
echo "ok: the program started and closed 5 times while the settings' owner came and went"
