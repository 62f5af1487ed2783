#!/usr/bin/env bash
# The frames a player sees stay within the flash limit at the sizes the vision is seen at on large
# screens: the renderer's own count of its limited frames, for several seeds at 4x, 6x and 8x, finds
# no second over the threshold, where the vision as designed (--no-flash-limit) goes over at each
# size. The frames it writes at a size are the ones it counted (as many changed), and without the
# limit they are the vision's as drawn, whatever the size.
#   render_limited_test.sh RENDERER OUT-DIR
set -u

render=$1
out=$2
rm -rf "$out" && mkdir -p "$out"
seeds="1 5 6"
frames=250

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The count's last line for "$@", or a failure.
last_line() {
  "$render" --flashes --frames "$frames" "$@" >"$out/stdout" 2>"$out/stderr" ||
    fail "the count with $* ended with status $?: $(cat "$out/stderr")"
  tail -n 1 "$out/stdout"
}
# Whether a last line says that no second went over the threshold.
within() { [[ $1 =~ ^most\ flashes\ in\ one\ second:\ [0-3]\ general,\ [0-3]\ red\ .*\ 0\ of\ [0-9]+$ ]]; }

for scale in 4 6 8; do
  # Else the count could not tell a limited vision from the one as designed.
  line=$(last_line --seed 1 --scale "$scale" --no-flash-limit)
  within "$line" && fail "seed 1 as designed at ${scale}x does not go over: the check shows nothing"
  for seed in $seeds; do
    line=$(last_line --seed "$seed" --scale "$scale")
    within "$line" || fail "seed $seed seen at ${scale}x, limited: $line"
  done
  echo "ok: seeds $seeds seen at ${scale}x are within the limit"
done

# The frames written are those counted; without the limit, the same at every size.
n=60
"$render" --seed 5 --frames $n --scale 6 --out "$out/limited" &&
  "$render" --seed 5 --frames $n --scale 6 --no-flash-limit --out "$out/designed-6x" &&
  "$render" --seed 5 --frames $n --no-flash-limit --out "$out/designed-1x" ||
  fail "the renderer could not write the frames"
changed=0
for ((i = 0; i < n; i++)); do
  name=frame-$(printf %04d "$i").png
  cmp -s "$out/designed-6x/$name" "$out/designed-1x/$name" ||
    fail "$name without the limit differs between 6x and 1x"
  cmp -s "$out/limited/$name" "$out/designed-6x/$name" || changed=$((changed + 1))
done
"$render" --flashes --seed 5 --frames $n --scale 6 >"$out/stdout" || fail "the count failed"
grep -q "^the flash limiter changed $changed of $n frames " "$out/stdout" ||
  fail "$changed of the frames written differ, but the count says: $(grep limiter "$out/stdout")"
echo "ok: the frames written at 6x are those counted ($changed of $n changed)"
