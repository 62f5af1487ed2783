#!/usr/bin/env bash
# The renderer's flash count as a user runs it, from the repository root: two seconds of the real
# vision counted at 2x say how many frames the flash limit changed, end with the summary line and
# draw their chart; the flash options misused are mistakes (status 2, with the usage).
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
[[ $last =~ ^most\ flashes\ in\ one\ second:\ [0-9]+\ general,\ [0-9]+\ red\ \(threshold\ 3\)\;\ seconds\ over\ it:\ [0-9]+\ of\ 2$ ]] ||
  fail "the last line is \"$last\""
grep -q "^flashes of the title vision, seed 1 .* seen at 2x, frames 0 to 99: a 10-degree field is 171 x 128 " \
  "$out/stdout" || fail "the first line does not say how the page was seen: $(head -n 1 "$out/stdout")"
limit=$(tail -n 2 "$out/stdout" | head -n 1)
[[ $limit =~ ^the\ flash\ limit\ changed\ [0-9]+\ of\ 100\ frames\ \([0-9.]+\ %\)$ ]] ||
  fail "the line before the last is \"$limit\""
file "$out/flashes.png" | grep -q "PNG image data, 1000 x 440" ||
  fail "the chart is not a 1000 x 440 PNG: $(file "$out/flashes.png")"

for mistake in "--flashes --scale 0" "--flashes --scale two" "--flashes --scale nan" \
  "--scale -1 --out $out/frames" "--plot $out/p.png --out $out/frames" "--frames 5" \
  "--no-flash-limit"; do
  # shellcheck disable=SC2086 # each mistake is several words
  "$render" $mistake >/dev/null 2>"$out/stderr"
  status=$?
  [ $status -eq 2 ] || fail "\"$mistake\" ended with status $status, not 2"
  grep -q "^Usage: ombrevale-render" "$out/stderr" || fail "\"$mistake\" did not show the usage"
done
echo "ok"
