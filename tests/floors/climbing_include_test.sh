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
put app/main.cpp '#include "app/App.h"' '#include "platform/sdl/SdlDesktop.h"' '#include <cstdio>'
put app/App.h '#include "vision/VisionP.h"' '#include "timing/TimeAPI.h"'
put vision/VisionP.cpp '#include "vision/VisionP.h"' '#include "text/Strings.h"' \
  '#include "platform/Surface.h"'
put text/MessageP.h '#include "timing/TimeAPI.h"'
put timing/TimeAPI.h '#include "platform/Controls.h"'
put platform/sdl/SdlDesktop.h '#include "platform/Desktop.h"' '#include <SDL.h>'
put platform/mci/Mci.cpp '#include "platform/mci/Mci.h"' '#include "platform/unicode/Utf8.h"' \
  '#include "platform/Media.h"'
put platform/web/WebDesktop.cpp '#include "platform/scale/Scaler.h"' '#include "platform/Desktop.h"'
out=$(bash "$check" "$house" 2>&1) || fail "a house whose includes point down was refused"

# Then six that do not.
put vision/Painter.cpp '#include "vision/VisionP.h"' '  #  include "app/Form1.h"'
put timing/Slots.h '#include "text/MessageP.h"'
put platform/Surface.h '#include "platform/headless/Headless.h"'
put sound/SoundAPI.h '#include "platform/sdl/SdlMedia.h"'
put platform/midi/Smf.cpp '#include "platform/win32/WinMedia.h"'
put platform/web/WebMedia.cpp '#include "platform/sdl/KeyMap.h"'
status=0
out=$(bash "$check" "$house" 2>&1) || status=$?
((status == 1)) || fail "climbing includes passed (status $status)"
for named in 'vision/Painter.cpp:2: #include "app/Form1.h" climbs from vision/ up to app/' \
  'timing/Slots.h:1: #include "text/MessageP.h" climbs from timing/ up to text/' \
  'platform/Surface.h:1: #include "platform/headless/Headless.h" climbs' \
  'sound/SoundAPI.h:1: #include "platform/sdl/SdlMedia.h" reaches a backend' \
  'platform/midi/Smf.cpp:1: #include "platform/win32/WinMedia.h" climbs from platform/midi/ up to platform/win32/' \
  'platform/web/WebMedia.cpp:1: #include "platform/sdl/KeyMap.h" reaches from one backend into another'; do
  grep -qF "$named" <<<"$out" || fail "not named: $named"
done
(($(grep -c 'includes point down, never up' <<<"$out") == 6)) || fail "more than the six named"
echo "the climbing includes were named, and only they"
