# Helpers for driving the real window on a private X server; sourced by the real-window scripts.
# The sourcing script sets `work` (a scratch folder of its own) and `xvfb_pid` (empty) first, and
# kills "$xvfb_pid" when it ends.
# shellcheck shell=bash
# shellcheck disable=SC2154  # `work` belongs to the sourcing script

# Runs "$@" every 50 ms until it succeeds, for at most $1 seconds.
retry() {
  local seconds=$1
  shift
  local tries=$((seconds * 20))
  while ! "$@" >/dev/null 2>&1; do
    tries=$((tries - 1))
    [ "$tries" -le 0 ] && return 1
    sleep 0.05
  done
}

# Exits with 77, the status ctest takes for "skipped", when one of the tools is not installed.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
  done
}

_our_server_answers() { kill -0 "$xvfb_pid" && xdpyinfo; }

# Starts Xvfb with a 1024 x 768 screen on a display number nobody uses (should another server take
# it first, the next one), for at most $1 seconds, and exports DISPLAY for it.
start_xvfb() {
  local limit=$1 n
  need_tools Xvfb xdpyinfo
  export DISPLAY=""
  unset WAYLAND_DISPLAY SDL_VIDEODRIVER
  for n in $(seq 71 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    # Under a time limit of its own, so that not even a killed script leaves it running for long.
    timeout "$limit" Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    # Ours answers: the server we started still runs (it quits at once when the display was
    # taken meanwhile) and the display replies.
    if DISPLAY=":$n" retry 10 _our_server_answers; then
      export DISPLAY=":$n"
      return 0
    fi
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  echo "no X server could be started: $(cat "$work/xvfb.log")" >&2
  return 1
}

# The program's main window, waited for up to 10 seconds.
main_window() {
  timeout 10 xdotool search --sync --onlyvisible --name '^Ombrevale 0\.13$' 2>/dev/null | head -n 1
}

# A box of the program (the version box, an error box): a top-level window titled "Ombrevale"
# (xdotool cannot match its UTF-8 title, xwininfo lists it).
program_box() { xwininfo -root -tree | awk '/^ +0x[0-9a-f]+ "Ombrevale": / { print $1; exit }'; }
box_open() { [ -n "$(program_box)" ]; }
box_closed() { [ -z "$(program_box)" ]; }

# Closes the program's box with Return, as its OK button; fails when none opens within $1 seconds
# or it stays open.
close_box() {
  retry "$1" box_open || return 1
  xdotool key --window "$(program_box)" Return 2>/dev/null
  retry 5 box_closed
}

# Prints the size of window $1 as "WIDTH HEIGHT".
window_size() {
  xwininfo -id "$1" | awk '/^ +Width:/ { w = $2 } /^ +Height:/ { h = $2 } END { print w, h }'
}

# Where the menu entry "Version" is in window $1, as "X Y" in window pixels: the client area,
# 404 x 324 pixels, is scaled by the largest whole factor that fits the window, and centred.
version_entry_at() {
  local w h s
  read -r w h < <(window_size "$1")
  s=$((w / 404 < h / 324 ? w / 404 : h / 324))
  [ "$s" -lt 1 ] && s=1
  echo $(((w - 404 * s) / 2 + 20 * s)) $(((h - 324 * s) / 2 + 10 * s))
}

# Asks window $1 to close as a window manager's close button does (WM_DELETE_WINDOW), with the
# helper program $2.
close_window() { "$2" "$1"; }
