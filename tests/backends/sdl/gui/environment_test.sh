#!/usr/bin/env bash
# The real program on a private X server in environments that lack something: each time it runs
# on, or stops with one clear sentence, and never crashes.
#   environment_test.sh no-audio   PROGRAM WM_CLOSE SHOTS-DIR - no audio driver: runs silent
#   environment_test.sh no-fonts   PROGRAM WM_CLOSE SHOTS-DIR - no font at all: runs without text,
#                                                               says so once
#   environment_test.sh odd-dat    PROGRAM WM_CLOSE SHOTS-DIR - dat/ missing, empty, or partly
#                                                               missing with folders for files
#                                                               (each said in one line), tiny
#                                                               pictures
#   environment_test.sh broken-dat PROGRAM WM_CLOSE SHOTS-DIR - a truncated bitmap, random bytes:
#                                                               a box and a line naming the file
#   environment_test.sh unreadable-dat PROGRAM WM_CLOSE SHOTS-DIR - a bitmap the user may not read,
#                                                               a dat/ the user may not look into
#   environment_test.sh bomb-dat   PROGRAM WM_CLOSE SHOTS-DIR - tiny bitmaps that each claim the
#                                                               largest size: a box naming the one
#                                                               that passes the pictures' budget,
#                                                               and memory stays small
set -u

mode=$1
# The program runs in folders of its own: the tools are named by absolute paths.
program=$(realpath "$2")
wm_close=$(realpath "$3")
shots=$4
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$here/../../../x11/xvfb.sh"

clean_up_on_exit

fail() {
  echo "FAIL ($mode): $*" >&2
  if [ -n "$app_pid" ]; then
    if kill -0 "$app_pid" 2>/dev/null; then
      echo "(the program still runs)" >&2
    else
      wait "$app_pid"
      echo "(the program has ended, status $?)" >&2
      app_pid=""
    fi
  fi
  if [ -s "$work/stderr" ]; then
    echo "--- the program's stderr:" >&2
    cat "$work/stderr" >&2
  fi
  exit 1
}

need_tools xdotool xwininfo
start_xvfb 100 || exit 1

# Starts the program in folder $1 with the environment settings that follow, as the user `as`
# names (empty: ourselves), under the command `measure` holds (none when empty); its output goes
# to $work/stdout and $work/stderr.
as=""
measure=()
start_in() {
  local dir=$1
  shift
  local who=()
  [ -n "$as" ] && who=(setpriv --reuid="$as" --regid="$(id -g "$as")" --clear-groups)
  # The flight recorder keeps the last minute of a session that stops in the run's own folder.
  mkdir -p -m 1777 "$work/state"
  (cd "$dir" && exec env SDL_AUDIODRIVER=dummy XDG_STATE_HOME="$work/state" "$@" "${who[@]}" \
    "${measure[@]}" timeout 60 "$program") >"$work/stdout" 2>"$work/stderr" &
  app_pid=$!
}

# Waits for the program to end by itself; its status.
ended() {
  retry 15 bash -c "! kill -0 $app_pid" || fail "the program still runs"
  wait "$app_pid"
  local status=$?
  app_pid=""
  return "$status"
}

# The program opens its window, takes keys and the version box, and ends with status 0 when the
# window is closed. $1 names the run in messages; a screenshot of the window is left in
# $work/window.png.
runs_and_closes() {
  local window
  window=$(main_window)
  [ -n "$window" ] || fail "$1: no window"
  xdotool key --window "$window" x Escape Return space 2>/dev/null
  sleep 0.5
  if command -v import >/dev/null; then
    import -window "$window" "$work/window.png" 2>/dev/null || fail "$1: no screenshot"
    mkdir -p "$shots"
    cp "$work/window.png" "$shots/$mode.png"
  fi
  read -r x y < <(version_entry_at "$window")
  xdotool mousemove --window "$window" "$x" "$y" click 1 2>/dev/null
  close_version_box "$window" 5 || fail "$1: no version box, or it did not close"
  kill -0 "$app_pid" 2>/dev/null || fail "$1: the program ended with the version box"
  "$wm_close" "$window" || fail "$1: could not send WM_DELETE_WINDOW"
  ended
  local status=$?
  [ "$status" -eq 0 ] || fail "$1: exit status $status after closing the window, expected 0"
}

# The program shows a box, no window, and ends with status 1 after the box is closed, having
# named the file $2 on stderr, once, then said where it kept the session's last minute as a
# replay; the pictures missing beside it may be named before. $1 names the run.
stops_naming() {
  retry 10 box_open || fail "$1: no error box"
  xdotool search --onlyvisible --name "$(caption_pattern)" >/dev/null 2>&1 &&
    fail "$1: the window was shown"
  close_box 5 || fail "$1: the error box did not close"
  ended
  local status=$?
  [ "$status" -eq 1 ] || fail "$1: exit status $status, expected 1"
  grep -q "^ombrevale: $2: " "$work/stderr" || fail "$1: stderr does not name $2"
  [ "$(grep -vc "^ombrevale: found no .* in .*; the title page runs without" "$work/stderr")" -eq 2 ] ||
    fail "$1: not two lines on stderr besides the missing pictures"
  local kept
  kept=$(sed -n 's/^ombrevale: the last minute of the session is kept as a replay in //p' \
    "$work/stderr")
  [ -s "$kept" ] || grep -q "^ombrevale: cannot keep the last minute as a replay: " "$work/stderr" ||
    fail "$1: the second line does not say where the last minute is: $(cat "$work/stderr")"
}

# The brightest value of any colour channel (0-255) in the rectangle WxH+X+Y of the screenshot.
brightest() {
  convert "$work/window.png" -crop "$1" +repage -format '%[fx:int(255*maxima)]' info:
}
# The darkest value of any colour channel (0-255) in the rectangle.
darkest() {
  convert "$work/window.png" -crop "$1" +repage -format '%[fx:int(255*minima)]' info:
}
# In client pixels at the natural size: the clock label's box on the canvas (below the 20-pixel
# menu strip and the page's 2-pixel frame; cut where the canvas ends), and the caption of the menu
# entry "Version".
label_box=169x20+226+302
menu_caption=36x10+8+5

# Four bytes, least significant first, as printf escapes.
le32() {
  printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)) $((($1 >> 16) & 255)) \
    $((($1 >> 24) & 255))
}

# A bitmap file of W x H pixels, 24 bits, every pixel the colour given as three printf escapes
# (blue, green, red), on stdout.
bitmap() {
  local w=$1 h=$2 color=$3 stride row="" i
  stride=$(((w * 3 + 3) / 4 * 4))
  for ((i = 0; i < w; i++)); do row+=$color; done
  for ((i = w * 3; i < stride; i++)); do row+='\x00'; done
  # shellcheck disable=SC2059  # the formats are made of escapes on purpose
  {
    printf "BM$(le32 $((54 + stride * h)))$(le32 0)$(le32 54)"
    printf "$(le32 40)$(le32 "$w")$(le32 "$h")\\x01\\x00\\x18\\x00$(le32 0)$(le32 $((stride * h)))"
    printf "$(le32 2835)$(le32 2835)$(le32 0)$(le32 0)"
    for ((i = 0; i < h; i++)); do printf "$row"; done
  }
}

case $mode in
  no-audio)
    # An audio driver that does not exist: nothing in this version plays a sound, and the window
    # would run silent if something did.
    start_in "$PWD" SDL_AUDIODRIVER=no-such-driver
    runs_and_closes "no audio driver"
    [ ! -s "$work/stderr" ] || fail "something was said on stderr"
    # With fonts, as a control for the no-fonts run: the label and the menu entry show text.
    if [ -e "$work/window.png" ]; then
      [ "$(brightest "$label_box")" -gt 100 ] || fail "the label shows no text"
      [ "$(darkest "$menu_caption")" -lt 100 ] || fail "the menu entry shows no caption"
    fi
    echo "no audio driver: runs, status 0, nothing on stderr"
    ;;

  no-fonts)
    # Fontconfig set up with no font at all: the window runs without text and says so once.
    # Started over an empty dat/ folder, so that no picture can light the label's box.
    printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$work/fonts.conf"
    mkdir -p "$work/bare/dat"
    start_in "$work/bare" FONTCONFIG_FILE="$work/fonts.conf"
    runs_and_closes "no fonts"
    said="ombrevale: found no font on this system (fontconfig knows none); the window runs without its text."
    pictures="ombrevale: found none of the 21 pictures in $(cd "$work/bare" && pwd -P)/dat; the title page runs without them."
    [ "$(cat "$work/stderr")" = "$pictures"$'\n'"$said" ] ||
      fail "stderr was not the empty dat/'s line, then the fonts' sentence once"
    need_tools import convert
    [ "$(brightest "$label_box")" -eq 0 ] || fail "the label's box is not black: text was drawn"
    [ "$(darkest "$menu_caption")" -gt 150 ] || fail "the menu entry shows a caption"
    echo "no fonts: runs without text, one sentence once, status 0"
    ;;

  odd-dat)
    # No dat/ at all, here or beside the program: it says once where it looked.
    mkdir -p "$work/none"
    start_in "$work/none"
    runs_and_closes "no dat/"
    looked="$(cd "$work/none" && pwd -P) or $(realpath -m "$(dirname "$program")/../share/games/ombrevale")"
    said="ombrevale: found no dat/ folder with its pictures in $looked; the title page runs without them."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "no dat/: stderr was not the one sentence, once"

    # An empty dat/: it says so, once.
    mkdir -p "$work/empty/dat"
    start_in "$work/empty"
    runs_and_closes "empty dat/"
    said="ombrevale: found none of the 21 pictures in $(cd "$work/empty" && pwd -P)/dat; the title page runs without them."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "empty dat/: stderr was not the one sentence, once"

    # Some files there, some missing, folders in place of two, every picture smaller than the
    # area the vision reads from it, and a file outside the table that is never opened.
    mkdir -p "$work/odd/dat/eye3.bmp" "$work/odd/dat/noise.bmp"
    for name in face black eye0 eye1 pupil hair0 big_eye view0 view2 wire tv1; do
      bitmap 7 5 '\x50\x90\xc0' >"$work/odd/dat/$name.bmp"
    done
    for name in view1 tv0; do bitmap 3 2 '\xff\xff\xff' >"$work/odd/dat/$name.bmp"; done
    head -c 100 /dev/urandom >"$work/odd/dat/eye5.bmp"
    start_in "$work/odd"
    runs_and_closes "odd dat/"
    missing="eye2.bmp, eye3.bmp, eye4.bmp, hair1.bmp, hair2.bmp, big_pupil.bmp, view3.bmp or noise.bmp"
    said="ombrevale: found no $missing in $(cd "$work/odd" && pwd -P)/dat; the title page runs without them."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "odd dat/: stderr was not the one line naming them"
    echo "dat/ missing, empty, partly missing, folders for files (each said once), small pictures:" \
      "runs, status 0"
    ;;

  broken-dat)
    mkdir -p "$work/cut/dat" "$work/junk/dat"
    # A bitmap cut short in its pixels, after good files earlier in the table.
    bitmap 7 5 '\x50\x90\xc0' >"$work/cut/dat/face.bmp"
    bitmap 40 30 '\x50\x90\xc0' | head -c 1000 >"$work/cut/dat/black.bmp"
    start_in "$work/cut"
    stops_naming "truncated bitmap" "$(cd "$work/cut" && pwd -P)/dat/black.bmp"
    # Nothing but random bytes, late in the table.
    head -c 5000 /dev/urandom >"$work/junk/dat/tv1.bmp"
    start_in "$work/junk"
    stops_naming "random bytes" "$(cd "$work/junk" && pwd -P)/dat/tv1.bmp"
    echo "truncated and random bitmaps: a box, one line naming the file by its whole path, status 1"
    ;;

  unreadable-dat)
    # A bitmap the user may not read. Root reads every file, so as root the program runs as
    # nobody, from a copy in a folder open to nobody (the build may lie below a closed one).
    mkdir -p "$work/locked/dat"
    chmod 755 "$work" "$work/locked" "$work/locked/dat"
    install -m 755 "$program" "$work/ombrevale"
    install -m 644 "$(dirname "$program")/ombrevale-sdl.so" "$work/"  # its SDL half
    program=$work/ombrevale
    bitmap 7 5 '\x50\x90\xc0' >"$work/locked/dat/face.bmp"
    bitmap 7 5 '\x50\x90\xc0' >"$work/locked/dat/eye2.bmp"
    chmod 644 "$work/locked/dat/face.bmp"
    chmod 000 "$work/locked/dat/eye2.bmp"
    if [ "$(id -u)" -eq 0 ]; then
      need_tools setpriv
      id nobody >/dev/null 2>&1 || { echo "SKIP: there is no user nobody to run as"; exit 77; }
      setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups test -x "$program" || {
        echo "SKIP: user nobody cannot reach $work (a folder above it is closed to others)"
        exit 77
      }
      as=nobody
    fi
    start_in "$work/locked"
    stops_naming "unreadable bitmap" "$(cd "$work/locked" && pwd -P)/dat/eye2.bmp"
    grep -q "Permission denied" "$work/stderr" || fail "stderr does not say why"
    echo "unreadable bitmap: a box, one line naming the file and why, status 1"

    # A dat/ the user may not look into: it runs without its pictures, and says why.
    mkdir -p "$work/closed/dat"
    chmod 755 "$work/closed"
    bitmap 7 5 '\x50\x90\xc0' >"$work/closed/dat/face.bmp"
    chmod 644 "$work/closed/dat/face.bmp"
    if [ "$(id -u)" -eq 0 ]; then chmod 700 "$work/closed/dat"; else chmod 000 "$work/closed/dat"; fi
    start_in "$work/closed"
    runs_and_closes "closed dat/"
    said="ombrevale: cannot look into $(cd "$work/closed" && pwd -P)/dat: Permission denied; the title page runs without its pictures."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "closed dat/: stderr was not the one sentence"
    chmod 755 "$work/closed/dat"
    echo "a dat/ closed to the user: runs, one line saying why, status 0"
    ;;

  bomb-dat)
    # Run-length-encoded bitmaps of 120 bytes, each claiming 4096 x 4096 pixels, 64 MB once
    # decoded: all 21 would take 1.3 GB. The first fills the budget of the window's pictures
    # exactly; the second ends the start before it is decoded.
    [ -x /usr/bin/time ] || { echo "SKIP: /usr/bin/time is not installed"; exit 77; }
    mkdir -p "$work/bomb/dat"
    palette=""
    for ((i = 0; i < 16; i++)); do palette+=$(le32 $((i * 0x111111))); done
    # shellcheck disable=SC2059  # the formats are made of escapes on purpose
    for name in face black eye0 eye1 eye2 eye3 eye4 pupil hair0 hair1 hair2 big_eye big_pupil \
      view0 view1 view2 view3 wire tv0 tv1 noise; do
      {
        printf "BM$(le32 120)$(le32 0)$(le32 118)"
        printf "$(le32 40)$(le32 4096)$(le32 4096)\\x01\\x00\\x04\\x00$(le32 2)$(le32 2)"
        printf "$(le32 2835)$(le32 2835)$(le32 16)$(le32 0)$palette"
        printf '\x00\x01' # the end of the pixels
      } >"$work/bomb/dat/$name.bmp"
    done
    [ "$(stat -c %s "$work/bomb/dat/noise.bmp")" -eq 120 ] || fail "a bitmap is not 120 bytes"
    measure=(/usr/bin/time -f %M -o "$work/peak")
    start_in "$work/bomb"
    # The first took the whole budget: it is the one named, not the innocent second.
    bomb=$(cd "$work/bomb" && pwd -P)
    stops_naming "bitmaps claiming 4096 x 4096" "$bomb/dat/face.bmp"
    grep -q "too large to load (its header claims 4096 x 4096 pixels.*too little for $bomb/dat/black.bmp" \
      "$work/stderr" || fail "stderr does not say why"
    peak=$(tail -n 1 "$work/peak")
    [ "$peak" -lt 204800 ] || fail "peak memory $((peak / 1024)) MB, expected under 200 MB"
    echo "21 bitmaps claiming 4096 x 4096: a box naming the first, which spent the budget, status 1," \
      "peak memory $((peak / 1024)) MB"
    ;;

  *)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
