# Helpers for driving the real window on a private X server; sourced by the real-window scripts.
# The sourcing script sets `work` (a scratch folder of its own) and `xvfb_pid` (empty) first, and
# kills "$xvfb_pid" when it ends.
# shellcheck shell=bash
# shellcheck disable=SC2154  # `work` belongs to the sourcing script

# When the script ends, however it ends: stops the program (`app_pid`, when set) and the X server,
# and removes the scratch folder.
clean_up_on_exit() {
  trap clean_up EXIT
  trap 'exit 1' INT TERM
}
clean_up() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}

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

# Starts Xvfb with a 1024 x 768 screen (or $2, as WIDTHxHEIGHT), for at most $1 seconds, and
# exports DISPLAY for it. The
# server chooses its display number itself (-displayfd), taking the lock of the first free one:
# two scripts that start servers at the same moment cannot end up on the same display, as they
# could when each picked a number by looking for lock files.
start_xvfb() {
  local limit=$1 screen=${2:-1024x768}
  need_tools Xvfb xdpyinfo
  unset WAYLAND_DISPLAY SDL_VIDEODRIVER
  # Under a time limit of its own, so that not even a killed script leaves it running for long.
  # Without the reset that follows its last client's going: what a test sets on the root window
  # (the desktop's resources) stays for the program it starts next.
  timeout "$limit" Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset \
    3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  # The number is written once the server accepts clients.
  if retry 10 test -s "$work/display" && kill -0 "$xvfb_pid" 2>/dev/null; then
    DISPLAY=":$(head -n 1 "$work/display")"
    export DISPLAY
    xdpyinfo >/dev/null 2>&1 && return 0
  fi
  echo "no X server could be started: $(cat "$work/xvfb.log")" >&2
  return 1
}

# The product's version and the window's caption, "Ombrevale <version>", read from where the build
# defines them; and the caption as a pattern that matches it whole.
product_version() {
  sed -n 's/^project(Ombrevale VERSION \([0-9.]*\).*/\1/p' \
    "$(dirname "${BASH_SOURCE[0]}")/../../CMakeLists.txt"
}
product_caption() { echo "Ombrevale $(product_version)"; }
caption_pattern() { echo "^$(product_caption | sed 's/\./\\./g')\$"; }

# The program's main window, waited for up to 10 seconds.
main_window() {
  timeout 10 xdotool search --sync --onlyvisible --name "$(caption_pattern)" 2>/dev/null |
    head -n 1
}

# The error box at start-up, shown before any window: a top-level window titled "Ombrevale"
# (xdotool cannot match its UTF-8 title, xwininfo lists it).
program_box() { xwininfo -root -tree | awk '/^ +0x[0-9a-f]+ "Ombrevale": / { print $1; exit }'; }
box_open() { [ -n "$(program_box)" ]; }
box_closed() { [ -z "$(program_box)" ]; }

# Closes the error box with Return, as its OK button; fails when none opens within $1 seconds or
# it stays open.
close_box() {
  retry "$1" box_open || return 1
  xdotool key --window "$(program_box)" Return 2>/dev/null
  retry 10 box_closed
}

# The navy title bar of the version box that window $1 draws over its page, as
# "WIDTH HEIGHT X Y" in window pixels; nothing (and failure) when no box shows. Nothing else the
# window shows is that navy.
version_box_bar() {
  local shot geometry
  shot=$(mktemp --suffix=.png -p "$work")
  import -window "$1" "$shot" 2>/dev/null || { rm -f "$shot"; return 1; }
  geometry=$(convert "$shot" -fill black +opaque "#000080" -format '%@' info: 2>/dev/null)
  rm -f "$shot"
  [[ $geometry =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]] || return 1
  [ "${BASH_REMATCH[1]}" -ge 20 ] || return 1
  echo "${BASH_REMATCH[1]} ${BASH_REMATCH[2]} ${BASH_REMATCH[3]} ${BASH_REMATCH[4]}"
}
version_box_open() { version_box_bar "$1" >/dev/null; }
version_box_closed() { ! version_box_open "$1"; }

# Closes the version box of window $1 with Return; fails when none shows within $2 seconds or it
# stays open.
close_version_box() {
  retry "$2" version_box_open "$1" || return 1
  xdotool key --window "$1" Return 2>/dev/null
  retry 10 version_box_closed "$1"
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
