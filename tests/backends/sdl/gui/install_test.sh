#!/usr/bin/env bash
# The program as a person installs it and lives with it.
#   install_test.sh command-line PROGRAM                - --help, --version and mistakes, with no
#                                                         display: the answers and statuses
#   install_test.sh staged BUILD-DIR WM_CLOSE SHOTS-DIR - installed with DESTDIR into a staging
#                                                         folder: the tree, the launcher, the
#                                                         metadata, the manual; the staged program
#                                                         started from / shows its pictures
#   install_test.sh package BUILD-DIR                   - the Debian package made by cpack: its
#                                                         files, its Depends, lintian's errors
# The staging and package folders lie in BUILD-DIR/install-test and are made afresh each time.
set -u

mode=$1
here=$(cd "$(dirname "$0")" && pwd)
id=org.ombrevale.Ombrevale

work=$(mktemp -d)
xvfb_pid=""
app_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$here/../../../x11/xvfb.sh"

clean_up_on_exit

fail() {
  echo "FAIL ($mode): $*" >&2
  for log in "$work/stderr" "$work/log"; do
    if [ -s "$log" ]; then
      echo "--- $(basename "$log"):" >&2
      cat "$log" >&2
    fi
  done
  exit 1
}

# A tool the check cannot do without: scripts/deps installs them all, so a missing one is a fault
# of the machine, not a reason to skip.
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/deps test installs it)"
  done
}

# Every file an install puts below its prefix, sorted.
installed_files() {
  local size
  {
    echo games/ombrevale
    echo lib/games/ombrevale/ombrevale-sdl.so
    echo lib/games/ombrevale/ombrevale-access.so
    for name in face black eye0 eye1 eye2 eye3 eye4 pupil hair0 hair1 hair2 big_eye big_pupil \
      view0 view1 view2 view3 wire tv0 tv1 noise; do
      echo "share/games/ombrevale/dat/$name.bmp"
    done
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    for size in 16 24 32 48 64 128 256; do
      echo "share/icons/hicolor/${size}x${size}/apps/$id.png"
    done
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    echo share/man/man6/ombrevale.6.gz
    echo share/doc/ombrevale/copyright
    echo share/doc/ombrevale/changelog.gz
  } | sort
}

# The value of key $2 in desktop entry $1.
entry() { sed -n "s/^$2=//p" "$1"; }

# Closes the program's window as a window manager does; it must end by itself with status 0. $1
# names the run in messages.
closes_with_status_0() {
  close_window "$window" "$wm_close" || fail "$1: could not send WM_DELETE_WINDOW"
  retry 15 bash -c "! kill -0 $app_pid" || fail "$1: the program still runs after its window was closed"
  wait "$app_pid"
  local status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "$1: exit status $status after closing the window, expected 0"
}

case $mode in
  command-line)
    program=$2
    # No display at all: the answers come before anything needs one.
    run() { env -u DISPLAY -u WAYLAND_DISPLAY timeout 10 "$program" "$@" >"$work/out" 2>"$work/err"; }
    usage_first="Usage: ombrevale [OPTION]..."

    run --help
    status=$?
    [ "$status" -eq 0 ] || fail "--help: status $status, expected 0"
    [ "$(head -n 1 "$work/out")" = "$usage_first" ] || fail "--help printed: $(cat "$work/out")"
    grep -q -- "--data=DIR" "$work/out" || fail "--help does not name --data"
    [ ! -s "$work/err" ] || fail "--help said on stderr: $(cat "$work/err")"

    run --version
    status=$?
    [ "$status" -eq 0 ] || fail "--version: status $status, expected 0"
    [ "$(cat "$work/out")" = "$(product_caption)" ] || fail "--version printed: $(cat "$work/out")"
    [ ! -s "$work/err" ] || fail "--version said on stderr: $(cat "$work/err")"

    # A mistake: one sentence, then where to read, on stderr and nothing else; status 2.
    misused() {
      local sentence=$1
      shift
      run "$@"
      local status=$?
      [ "$status" -eq 2 ] || fail "$*: status $status, expected 2"
      [ ! -s "$work/out" ] || fail "$*: printed on stdout: $(cat "$work/out")"
      printf '%s\n' "ombrevale: $sentence" "Try '$program --help'." | cmp -s - "$work/err" ||
        fail "$*: said $(cat -v "$work/err")"
    }
    misused "unrecognized option '--bogus'" --bogus
    misused "option '--data' requires an argument" --data
    misused "extra operand 'dat'" dat
    misused "invalid option -- 'h'" -h
    misused "invalid scale '9': a whole number from 1 to 8" --scale 9
    misused "invalid scale 'abc': a whole number from 1 to 8" --scale=abc
    # What the terminal would take as its own commands is shown escaped.
    misused "unrecognized option '--\\x1b[2J\\x07'" $'--\e[2J\a'

    # A data folder that cannot be entered is a bad argument: one sentence, status 2, no window.
    run --data "$work/nowhere"
    status=$?
    [ "$status" -eq 2 ] || fail "--data NOWHERE: status $status, expected 2"
    [ "$(cat "$work/err")" = "ombrevale: cannot enter the data folder '$work/nowhere': No such file or directory" ] ||
      fail "--data NOWHERE said: $(cat "$work/err")"
    echo "command line: --help and --version 0 without a display, mistakes 2 with one sentence"
    ;;

  staged)
    build=$(realpath "$2")
    wm_close=$(realpath "$3")
    shots=$4
    need cmake desktop-file-validate appstreamcli man gzip
    stage=$build/install-test/stage
    rm -rf "$stage"
    DESTDIR=$stage cmake --install "$build" --prefix /usr >"$work/log" 2>&1 || fail "cmake --install failed"

    # The tree: exactly the files of the layout, the program executable, the icons at their sizes.
    (cd "$stage/usr" && find . -type f | sed 's|^\./||' | sort) >"$work/files"
    installed_files | diff - "$work/files" >"$work/diff" || fail "the installed files differ: $(cat "$work/diff")"
    [ -x "$stage/usr/games/ombrevale" ] || fail "the program is not executable"
    for size in 16 24 32 48 64 128 256; do
      # A PNG's width and height, 4 bytes each, big-endian, at byte 16.
      got=$(od -A n -t u1 -j 16 -N 8 "$stage/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" |
        awk '{ print $1 * 16777216 + $2 * 65536 + $3 * 256 + $4 " x " $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }')
      [ "$got" = "$size x $size" ] || fail "the ${size}x${size} icon is $got"
    done

    # The launcher and the metadata pass the desktop's own checks; the launcher starts the
    # installed program by its full path, so it works from any folder.
    desktop=$stage/usr/share/applications/$id.desktop
    desktop-file-validate "$desktop" >"$work/log" 2>&1 || fail "desktop-file-validate: $(cat "$work/log")"
    [ ! -s "$work/log" ] || fail "desktop-file-validate had remarks: $(cat "$work/log")"
    appstreamcli validate --no-net "$stage/usr/share/metainfo/$id.metainfo.xml" >"$work/log" 2>&1 ||
      fail "appstreamcli validate failed"
    [ "$(entry "$desktop" Exec)" = /usr/games/ombrevale ] || fail "Exec=$(entry "$desktop" Exec)"
    [ "$(entry "$desktop" Icon)" = "$id" ] || fail "Icon=$(entry "$desktop" Icon)"
    [ "$(entry "$desktop" Terminal)" = false ] || fail "the launcher opens a terminal"
    # The manual: gzipped without a name or a time stamp, and read without a warning.
    manual=$stage/usr/share/man/man6/ombrevale.6.gz
    gzip -t "$manual" || fail "the manual is not gzipped"
    [ "$(od -A n -t x1 -j 4 -N 4 "$manual" | tr -d ' ')" = 00000000 ] || fail "the manual has a time stamp"
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manual" >"$work/manual" 2>"$work/log" ||
      fail "man cannot show the manual"
    [ ! -s "$work/log" ] || fail "man warned: $(cat "$work/log")"
    grep -q "/usr/games/ombrevale" "$work/manual" || fail "the manual does not name the program's file"

    # Another prefix: the launcher names the program where that install puts it.
    DESTDIR=$build/install-test/stage-local cmake --install "$build" --prefix /usr/local >"$work/log" 2>&1 ||
      fail "cmake --install to /usr/local failed"
    got=$(entry "$build/install-test/stage-local/usr/local/share/applications/$id.desktop" Exec)
    [ "$got" = /usr/local/games/ombrevale ] || fail "under /usr/local, Exec=$got"
    rm -rf "$build/install-test/stage-local"

    # Started by its name where there is no desktop, it suggests starting it by that name.
    (cd / && env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER PATH="$stage/usr/games:$PATH" \
      timeout 30 ombrevale) >"$work/stdout" 2>"$work/stderr"
    status=$?
    [ "$status" -eq 1 ] || fail "started without a desktop: status $status, expected 1"
    said="ombrevale: needs a desktop session to open its window: start it from a graphical desktop, or under Xvfb (xvfb-run -a ombrevale)."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "without a desktop, it said: $(cat "$work/stderr")"

    # The staged program started from /, as a launcher starts it: it finds its pictures beside it.
    need_tools xdotool xwininfo xprop import convert
    start_xvfb 100 || fail "no X server could be started"
    (cd / && SDL_AUDIODRIVER=dummy exec timeout 60 "$stage/usr/games/ombrevale") \
      >"$work/stdout" 2>"$work/stderr" &
    app_pid=$!
    window=$(main_window)
    [ -n "$window" ] || fail "no window"
    # The launcher belongs to this window: the desktop matches them by the window's class.
    wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*, "\(.*\)"$/\1/p')
    [ "$wm_class" = "$(entry "$desktop" StartupWMClass)" ] ||
      fail "the window's class is \"$wm_class\", the launcher's StartupWMClass another"
    # The canvas, above the clock label, lit by the pictures: a frame may happen to show nothing
    # but the black background, so a few frames are looked at.
    lit=0
    for _ in 1 2 3 4 5 6 7 8 9 10; do
      sleep 0.3
      import -window "$window" "$work/window.png" 2>/dev/null || fail "no screenshot"
      lit=$(convert "$work/window.png" -crop 400x270+2+22 +repage -fill white +opaque black \
        -colorspace gray -format '%[fx:int(mean*w*h+0.5)]' info:)
      [ "$lit" -ge 2000 ] && break
    done
    mkdir -p "$shots"
    cp "$work/window.png" "$shots/installed.png"
    [ "$lit" -ge 2000 ] || fail "the canvas stayed dark ($lit pixels lit): no pictures found"
    closes_with_status_0 "started from /"
    [ ! -s "$work/stderr" ] || fail "something was said on stderr"

    # Given a data folder without dat/: it runs, and says so once.
    mkdir -p "$work/empty"
    (cd / && SDL_AUDIODRIVER=dummy exec timeout 60 "$stage/usr/games/ombrevale" --data "$work/empty") \
      >"$work/stdout" 2>"$work/stderr" &
    app_pid=$!
    window=$(main_window)
    [ -n "$window" ] || fail "--data EMPTY: no window"
    closes_with_status_0 "--data EMPTY"
    said="ombrevale: found no dat/ folder with its pictures in $work/empty; the title page runs without them."
    [ "$(cat "$work/stderr")" = "$said" ] || fail "--data EMPTY: stderr was not the one sentence"
    echo "staged: the layout, a valid launcher, metadata and manual; started from / it shows" \
      "its pictures ($lit pixels lit) and closes with status 0"
    ;;

  package)
    build=$(realpath "$2")
    need cpack dpkg-deb dpkg-shlibdeps file lintian
    out=$build/install-test/package
    rm -rf "$out"
    cpack --config "$build/CPackConfig.cmake" -B "$out" >"$work/log" 2>&1 || fail "cpack failed"
    deb=$out/ombrevale_$(product_version)_amd64.deb
    [ -f "$deb" ] || fail "no $(basename "$deb"): $(ls "$out")"

    # The same files as an install for /usr, owned by root, the program stripped.
    dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./usr/||' | sort >"$work/files"
    installed_files | diff - "$work/files" >"$work/diff" || fail "the package's files differ: $(cat "$work/diff")"
    dpkg-deb -c "$deb" | awk '$2 != "root/root"' | grep . && fail "files not owned by root"
    dpkg-deb --fsys-tarfile "$deb" | tar -x -C "$work" ./usr/games/ombrevale ./usr/share/applications/"$id".desktop
    file "$work/usr/games/ombrevale" | grep -q ", stripped" || fail "the program is not stripped"
    [ "$(entry "$work/usr/share/applications/$id.desktop" Exec)" = /usr/games/ombrevale ] ||
      fail "the packaged launcher does not start /usr/games/ombrevale"

    # What it needs: the libraries it links, the fonts and the soundfont it reads.
    [ "$(dpkg-deb -f "$deb" Package Version Architecture Section | tr '\n' ' ')" = \
      "Package: ombrevale Version: $(product_version) Architecture: amd64 Section: games " ] ||
      fail "control: $(dpkg-deb -f "$deb" Package Version Architecture Section)"
    depends=$(dpkg-deb -f "$deb" Depends)
    for wanted in fonts-ipafont-gothic fonts-dejavu-core libegl1 libgl1 \
      "libsdl2-2.0-0 (" "libsdl2-ttf-2.0-0 (" "libfontconfig1 (" libx11-6 "libc6 (" "libdbus-1-3 (" \
      "libatk-bridge2.0-0 ("; do
      [[ ", $depends," == *", $wanted"* ]] || fail "Depends lacks $wanted: $depends"
    done
    # The sound is recommended, not required: the program runs silent without it.
    [[ "$depends" != *mixer* && "$depends" != *soundfont* ]] || fail "Depends names the sound: $depends"
    recommends=$(dpkg-deb -f "$deb" Recommends)
    [ "$recommends" = "libsdl2-mixer-2.0-0, timgm6mb-soundfont | sf3-soundfont-gm, libegl-mesa0, libgl1-mesa-dri, libdecor-0-plugin-1-cairo" ] ||
      fail "Recommends: $recommends"

    # Lintian, Debian's package checker, finds no error.
    lintian --fail-on error "$deb" >"$work/log" 2>&1 || fail "lintian found errors"
    echo "package: $(basename "$deb") with the installed files, Depends: $depends;" \
      "Recommends: $recommends; lintian: no errors"
    ;;

  *)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
