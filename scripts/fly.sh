#!/usr/bin/env bash
# Flies a parameter file (or a scene file) with the quillmere program.
#
#   scripts/fly.sh [PARAMFILE] [quillmere options...]
#
# With a screen the window opens as usual. Without one (or with FLY_HEADLESS=1)
# the flight runs for FLY_FRAMES steps (default 120) and is recorded as an
# MP4 movie, FLY_OUT/<name>.mp4 (FLY_OUT defaults to fly-output/<name>/),
# drawn through EGL without an X server where that works, else under Xvfb
# (scripts/headless.sh). With FLY_GIF=1 every frame is also written as a PNG
# and the frames are joined into an animated GIF beside the movie. Builds
# the program first when build/bin has none.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
bin="$repo/build/bin"

if [ ! -x "$bin/quillmere" ] || [ ! -x "$bin/quillmere-animate" ]; then
  cmake -S "$repo" -B "$repo/build" >/dev/null
  cmake --build "$repo/build" -j"$(nproc)" --target quillmere quillmere-animate
fi

flight="${1:-$repo/examples/flight.par}"
[ $# -gt 0 ] && shift

if [ -n "${DISPLAY:-}" ] && [ "${FLY_HEADLESS:-0}" != 1 ]; then
  exec "$bin/quillmere" "$flight" "$@"
fi

name="$(basename "$flight")"
name="${name%.*}"
out="${FLY_OUT:-fly-output/$name}"
frames="${FLY_FRAMES:-120}"
rm -rf "$out"
mkdir -p "$out"
export QUILLMERE="$bin/quillmere"
bash "$repo/scripts/headless.sh" "$flight" --frames "$frames" --record "$out/$name.mp4" "$@"
echo "movie:  $out/$name.mp4"
if [ "${FLY_GIF:-0}" = 1 ]; then
  bash "$repo/scripts/headless.sh" "$flight" --frames "$frames" --record "$out" "$@"
  "$bin/quillmere-animate" "$out/$name.gif" "$out"/frame-*.png
  echo "frames: $out/frame-*.png ($(ls "$out"/frame-*.png | wc -l) files)"
  echo "gif:    $out/$name.gif"
fi
