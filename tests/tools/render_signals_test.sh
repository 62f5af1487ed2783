#!/usr/bin/env bash
# Ctrl+C and kill stop a long render at once, with the signal's status (130 for SIGINT, 143 for
# SIGTERM), and leave only whole files where it wrote: every frame of a folder a whole PNG, and an
# animated GIF that was not finished not there at all. Run from the repository root, where dat/ is.
#   render_signals_test.sh RENDERER OUT-DIR
set -u

render=$1
out=$2
rm -rf "$out" && mkdir -p "$out"
pid=""
trap '[ -n "$pid" ] && kill -KILL "$pid" 2>/dev/null' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Waits up to $1 seconds for "$2" (a command) to succeed.
within() {
  local tries=$(($1 * 20))
  shift
  until "$@"; do
    tries=$((tries - 1))
    [ "$tries" -gt 0 ] || return 1
    sleep 0.05
  done
}
has_files() { [ -n "$(ls -A "$1")" ]; }
ended() { ! kill -0 "$pid" 2>/dev/null; }

# Starts a render of $2 frames into $1 and sends signal $3 once it writes there; then expects
# status $4 within a generous bound.
stop() {
  local into=$1 target=$2 signal=$3 expected=$4
  mkdir -p "$into"
  # With job control, as from a terminal: a job started in the background otherwise ignores
  # SIGINT from the start.
  set -m
  "$render" --frames 100000 --out "$target" >"$out/log" 2>&1 &
  pid=$!
  set +m
  within 60 has_files "$into" || fail "the render wrote nothing in 60 s: $(cat "$out/log")"
  kill -"$signal" "$pid"
  if ! within 30 ended; then
    fail "the render still runs 30 s after SIG$signal"
  fi
  wait "$pid"
  local status=$?
  pid=""
  [ "$status" -eq "$expected" ] || fail "SIG$signal ended the render with status $status, not $expected"
}

# PNG files: each whole, up to its end chunk, and nothing else in the folder.
stop "$out/frames" "$out/frames" INT 130
count=0
for file in "$out/frames"/*; do
  [[ $(basename "$file") =~ ^frame-[0-9]{4,}\.png$ ]] || fail "a file not a frame: $file"
  [ "$(tail -c 8 "$file" | od -An -tx1 | tr -d ' \n')" = 49454e44ae426082 ] ||
    fail "a frame cut short: $file"
  count=$((count + 1))
done
[ "$count" -ge 1 ] || fail "no frame was kept"
[ "$count" -lt 100000 ] || fail "the render was not stopped"

# An animated GIF is whole only at its end: stopped before, the render leaves none.
stop "$out/gif" "$out/gif/title.gif" TERM 143
has_files "$out/gif" && fail "a render stopped midway left: $(ls -A "$out/gif")"

echo "ok: SIGINT after $count frames ended with 130, SIGTERM with 143, only whole files left"
