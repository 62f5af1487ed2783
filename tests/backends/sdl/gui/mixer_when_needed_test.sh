#!/usr/bin/env bash
# The real program on a private X server starts without the sound mixer: neither the mixer nor
# the MIDI synthesiser behind it is in the running program's memory; and with the
# mixer's library made unloadable it starts, draws its pictures and closes with status 0, having
# said nothing (no command of the title page needs a sound device).
#   mixer_when_needed_test.sh PROGRAM WM_CLOSE
set -u

program=$(realpath "$1")
wm_close=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$here/../../../x11/xvfb.sh"

clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  [ -s "$work/stderr" ] && { echo "--- the program's stderr:" >&2; cat "$work/stderr" >&2; }
  exit 1
}

need_tools xdotool xwininfo import convert
start_xvfb 100 || exit 1

# Starts the program from the repository root with the environment settings given, waits for its
# window, checks what it mapped and what it drew, and closes it. $1 names the run.
run_once() {
  local name=$1 window lit=0
  shift
  (exec env SDL_AUDIODRIVER=dummy "$@" "$program") >"$work/stdout" 2>"$work/stderr" &
  app_pid=$!
  window=$(main_window)
  [ -n "$window" ] || fail "$name: no window"
  # A frame may happen to show nothing but the black background: a few frames are looked at.
  for _ in 1 2 3 4 5 6 7 8 9 10; do
    sleep 0.3
    import -window "$window" "$work/window.png" 2>/dev/null || fail "$name: no screenshot"
    lit=$(convert "$work/window.png" -crop 400x270+2+22 +repage -fill white +opaque black \
      -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:)
    [ "$lit" -ge 2000 ] && break
  done
  [ "$lit" -ge 2000 ] || fail "$name: the canvas stayed dark ($lit pixels lit)"
  for library in libSDL2_mixer libfluidsynth; do
    grep -q "$library" "/proc/$app_pid/maps" && fail "$name: $library was loaded at start"
  done
  "$wm_close" "$window" || fail "$name: could not send WM_DELETE_WINDOW"
  retry 15 bash -c "! kill -0 $app_pid" || fail "$name: the program still runs after its close"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "$name: exit status $status after closing the window, expected 0"
  [ ! -s "$work/stderr" ] || fail "$name: something was said on stderr"
  echo "$name: started without the mixer, drew ($lit pixels lit), closed with status 0"
}

run_once "as installed"
run_once "mixer unloadable" OMBREVALE_MIXER_LIBRARY="$work/hidden/libSDL2_mixer-2.0.so.0"
