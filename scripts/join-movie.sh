#!/usr/bin/env bash
# Joins movie segments, in the order given, into one movie without
# re-encoding (the ffmpeg program's concat demuxer):
#
#   scripts/join-movie.sh OUT.mp4 SEGMENT.mp4...
#
# The segments must share codec, size and frame rate, as the segments of one
# flight recorded by scripts/render-farm.sh or render-farm.sbatch do.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: join-movie.sh OUT.mp4 SEGMENT.mp4..." >&2
  exit 2
fi
out="$1"
shift
list="$(mktemp --suffix=.txt)"
trap 'rm -f "$list"' EXIT
for segment in "$@"; do
  if [ ! -s "$segment" ]; then
    echo "join-movie.sh: no segment $segment" >&2
    exit 1
  fi
  # The list quotes each path; a quote inside a path is closed, escaped and reopened.
  path="$(realpath "$segment")"
  printf "file '%s'\n" "${path//\'/\'\\\'\'}" >>"$list"
done
ffmpeg -v error -y -f concat -safe 0 -i "$list" -c copy "$out"
echo "movie: $out ($# segments)"
