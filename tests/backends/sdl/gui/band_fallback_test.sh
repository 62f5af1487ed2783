#!/usr/bin/env bash
# A window whose X server refuses it the shared memory a larger size needs goes on drawing in
# software, the same pixels. In an IPC namespace of its own, whose segments must stay under a
# million bytes, the window starts at its natural size (a band of 0.5 MB) and is then made twice as
# large (a band of 1 MiB, refused): its frames, read back from the X server, must equal those of a run that was
# never refused anything.
#   band_fallback_test.sh WINDOW_FRAMES
set -u
window_frames=$1
frames=20

work=$(mktemp -d)
xvfb_pid=""
# shellcheck source=tests/x11/xvfb.sh
source "$(dirname "$0")/../../../x11/xvfb.sh"
clean_up_on_exit

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

if [ "${1:-}" != --inside ]; then
  need_tools unshare
  # A namespace of its own, where the segment limit can be lowered for this test alone.
  unshare --ipc true 2>/dev/null || { echo "SKIP: no IPC namespace may be made here"; exit 77; }
  start_xvfb 120 1920x1080 || fail "no X server could be started"
  export SDL_AUDIODRIVER=dummy
  SDL_RENDER_DRIVER=software "$window_frames" "$frames" 404x344 808x688 >"$work/free" \
    2>"$work/err" || fail "the window could not draw: $(cat "$work/err")"
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  unshare --ipc bash "$0" --inside "$window_frames" "$work/limited" || exit 1
  [ "$(tail -n +2 "$work/free" | sort -u | wc -l)" -gt 5 ] || fail "the frames hardly differ"
  diff <(tail -n +2 "$work/free") <(tail -n +2 "$work/limited") >"$work/diff" ||
    fail "refused its band, the window showed other pixels: $(head -n 6 "$work/diff")"
  echo "band refused at twice the size: $frames frames drawn, the same as with the band"
  exit 0
fi

# Inside the namespace: segments under a million bytes.
window_frames=$2
echo 1000000 >/proc/sys/kernel/shmmax || fail "the segment limit could not be lowered"
start_xvfb 120 1920x1080 || fail "no X server could be started in the namespace"
export SDL_AUDIODRIVER=dummy
SDL_RENDER_DRIVER=software "$window_frames" "$frames" 404x344 808x688 >"$3" 2>"$work/err" ||
  fail "refused its band, the window could not go on: $(cat "$work/err")"
