#!/usr/bin/env bash
# The renderer's flash count as a user runs it, from the repository root: two seconds of the real
# vision counted at 2x end with the summary line and draw their chart; the flash options misused
# are mistakes (status 2, with the usage); at natural size the limiter leaves the pinned frames as
# they are; started where there are no pictures it refuses rather than count black frames, and
# finds them with --data.
#   render_flashes_test.sh RENDERER OUT-DIR
set -u

render=$1
out=$2
rm -rf "$out" && mkdir -p "$out"

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

"$render" --flashes --seed 1 --frames 100 --scale 2 --plot "$out/flashes.png" \
  >"$out/stdout" 2>"$out/stderr" || fail "the count ended with status $?: $(cat "$out/stderr")"
[ -s "$out/stderr" ] && fail "the count said on stderr: $(cat "$out/stderr")"
last=$(tail -n 1 "$out/stdout")
grep -q "^as drawn, without the limiter: most flashes in one second: " "$out/stdout" ||
  fail "no count of the frames as drawn: $(cat "$out/stdout")"
[[ $last =~ ^most\ flashes\ in\ one\ second:\ [0-9]+\ general,\ [0-9]+\ red\ \(threshold\ 3\)\;\ seconds\ over\ it:\ [0-9]+\ of\ 2$ ]] ||
  fail "the last line is \"$last\""
grep -q "^flashes of the title vision, seed 1 .* seen at 2x, limited, frames 0 to 99: a 10-degree field is 171 x 128 " \
  "$out/stdout" || fail "the first line does not say how the page was seen: $(head -n 1 "$out/stdout")"
grep -q "^the flash limiter changed [0-9]* of 100 frames ([0-9.]* %): " "$out/stdout" ||
  fail "no line on what the limiter changed: $(cat "$out/stdout")"
file "$out/flashes.png" | grep -q "PNG image data, 1000 x 440" ||
  fail "the chart is not a 1000 x 440 PNG: $(file "$out/flashes.png")"

# At natural size the limiter changes nothing of the frames the reference hashes pin.
"$render" --flashes --seed 20021 --frames 400 --start "2026/12/07 16:59:57" >"$out/pinned" 2>&1 ||
  fail "the pinned run ended with status $?: $(cat "$out/pinned")"
grep -q "^the flash limiter changed 0 of 400 frames" "$out/pinned" ||
  fail "the limiter changed the pinned frames: $(grep limiter "$out/pinned")"

for mistake in "--flashes --scale 0" "--flashes --scale two" "--flashes --scale nan" \
  "--scale -1 --out $out/frames" "--plot $out/p.png --out $out/frames" "--frames 5" \
  "--no-flash-limit"; do
  # shellcheck disable=SC2086 # each mistake is several words
  "$render" $mistake >/dev/null 2>"$out/stderr"
  status=$?
  [ $status -eq 2 ] || fail "\"$mistake\" ended with status $status, not 2"
  grep -q "^Usage: ombrevale-render" "$out/stderr" || fail "\"$mistake\" did not show the usage"
done
# Without its pictures there is nothing to count: a refusal, not a count of black frames.
bare="$out/bare" && mkdir -p "$bare"
(cd "$bare" && "$render" --flashes --frames 5 >stdout 2>stderr)
status=$?
[ $status -eq 1 ] || fail "without pictures the count ended with status $status, not 1"
grep -q "^ombrevale-render: found no dat/ folder with its pictures in $bare" "$bare/stderr" ||
  fail "without pictures it said: $(cat "$bare/stderr")"
[ -s "$bare/stdout" ] && fail "without pictures it still printed a count: $(cat "$bare/stdout")"
# A dat/ folder without all the pictures is refused as well.
mkdir -p "$bare/dat"
(cd "$bare" && "$render" --flashes --frames 5 >stdout 2>stderr)
status=$?
[ $status -eq 1 ] || fail "with an empty dat/ the count ended with status $status, not 1"
grep -q "^ombrevale-render: found no dat/face.bmp and 20 more of the pictures in $bare" \
  "$bare/stderr" || fail "with an empty dat/ it said: $(cat "$bare/stderr")"
# Its frames are drawn all the same, as the program draws them without the pictures, and it says so.
(cd "$bare" && "$render" --frames 2 --out frames >stdout 2>stderr) ||
  fail "with an empty dat/ the frames ended with status $?: $(cat "$bare/stderr")"
grep -q "^ombrevale-render: found no dat/face.bmp and 20 more .*; the frames are drawn without them$" \
  "$bare/stderr" && [ -s "$bare/frames/frame-0001.png" ] ||
  fail "with an empty dat/ the frames: $(cat "$bare/stderr")"
rm -r "$bare/dat" "$bare/frames"
# Given the folder, it counts from anywhere, and writes its chart where it was started.
root=$(pwd)
(cd "$bare" && "$render" --data "$root" --flashes --frames 5 --plot chart.png >stdout 2>stderr) ||
  fail "with --data the count ended with status $?: $(cat "$bare/stderr")"
tail -n 1 "$bare/stdout" | grep -q "^most flashes in one second: " || fail "with --data: $(cat "$bare/stdout")"
[ -s "$bare/chart.png" ] || fail "with --data the chart was not written where the renderer started"
echo "ok"
