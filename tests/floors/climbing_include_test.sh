#!/usr/bin/env bash
# The floor check refuses, by file and line, an include that climbs up or reaches a backend from
# the logic, and passes a house whose includes all point down.
#
#   tests/floors/climbing_include_test.sh tests/floors/includes_point_down.sh

set -euo pipefail

check=$1
house=$(mktemp -d)
trap 'rm -rf "$house"' EXIT

put() {
  mkdir -p "$house/$(dirname "$1")"
  printf '%s\n' "${@:2}" >"$house/$1"
}
fail() {
  echo "FAILED: $*" >&2
  echo "$out" >&2
  exit 1
}

# A house whose includes all point down, or stay on their floor.
put app/main.cpp '#include "app/App.h"' '#include "backends/sdl/window/SdlDesktop.h"' '#include <cstdio>'
put app/App.h '#include "vision/VisionP.h"' '#include "timing/TimeAPI.h"'
put vision/VisionP.cpp '#include "vision/VisionP.h"' '#include "text/Strings.h"' \
  '#include "platform/Surface.h"'
put text/MessageP.h '#include "timing/TimeAPI.h"'
put timing/TimeAPI.h '#include "platform/Controls.h"'
put backends/sdl/window/SdlDesktop.h '#include "platform/Desktop.h"' '#include <SDL.h>' \
  '#include "backends/sdl/layers/Fonts.h"'
# A backend ranks its own services, from the top; its top-level files stand below them all.
put backends/sdl/floors '# from the top' 'window' 'layers sound'
put backends/sdl/layers/Fonts.h '#include "backends/sdl/SdlHandles.h"'
put platform/mci/Mci.cpp '#include "platform/mci/Mci.h"' '#include "platform/unicode/Utf8.h"' \
  '#include "platform/Media.h"'
put backends/web/WebDesktop.cpp '#include "platform/scale/Scaler.h"' '#include "platform/Desktop.h"'
# A backend the check has never heard of stands on the same floor as the others.
put backends/kiosk/KioskDesktop.cpp '#include "platform/Desktop.h"' '#include "platform/keys/KeyPlaces.h"'
out=$(bash "$check" "$house" 2>&1) || fail "a house whose includes point down was refused"

# Then eight that do not.
put vision/Painter.cpp '#include "vision/VisionP.h"' '  #  include "app/Form1.h"'
put timing/Slots.h '#include "text/MessageP.h"'
put platform/Surface.h '#include "backends/headless/Headless.h"'
put sound/SoundAPI.h '#include "backends/sdl/sound/SdlMedia.h"'
put platform/midi/Smf.cpp '#include "backends/win32/WinMedia.h"'
put backends/web/WebMedia.cpp '#include "backends/sdl/window/KeyMap.h"'
put timing/Clocked.h '#include "backends/kiosk/KioskClock.h"'
put backends/sdl/sound/Mixer.cpp '#include "backends/sdl/layers/Fonts.h"' \
  '#include "backends/sdl/window/SdlDesktop.h"'
status=0
out=$(bash "$check" "$house" 2>&1) || status=$?
((status == 1)) || fail "climbing includes passed (status $status)"
for named in 'vision/Painter.cpp:2: #include "app/Form1.h" climbs from vision/ up to app/' \
  'timing/Slots.h:1: #include "text/MessageP.h" climbs from timing/ up to text/' \
  'platform/Surface.h:1: #include "backends/headless/Headless.h" climbs' \
  'sound/SoundAPI.h:1: #include "backends/sdl/sound/SdlMedia.h" reaches a backend' \
  'platform/midi/Smf.cpp:1: #include "backends/win32/WinMedia.h" climbs from platform/midi/ up to backends/win32/' \
  'backends/web/WebMedia.cpp:1: #include "backends/sdl/window/KeyMap.h" reaches from one backend into another' \
  'timing/Clocked.h:1: #include "backends/kiosk/KioskClock.h" reaches a backend from timing/' \
  'backends/sdl/sound/Mixer.cpp:2: #include "backends/sdl/window/SdlDesktop.h" climbs from backends/sdl/sound/ up to backends/sdl/window/'; do
  grep -qF "$named" <<<"$out" || fail "not named: $named"
done
(($(grep -c 'includes point down, never up' <<<"$out") == 8)) || fail "more than the eight named"
echo "the climbing includes were named, and only they"
