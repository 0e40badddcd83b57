#!/usr/bin/env bash
# Renders a flight as a movie in segments, in parallel, and joins them:
#
#   scripts/render-farm.sh [--segments N] [--sshlogin LOGINS] PARAMFILE OUT.mp4 [-- quillmere options]
#
# The flight's frames come from its time step and end time (quillmere
# --flight-frames), or from --frames N (and --first-frame K) among the
# options. They are split into N segments of consecutive frames (default:
# the number of cores); GNU parallel renders one segment per job
# (quillmere --first-frame K --frames M --record segment-I.mp4), on this
# machine's cores or, with --sshlogin, on the machines it names (GNU
# parallel's syntax, e.g. "4/alice@node1,4/node2,:" where ":" is this
# machine). Remote machines must see the program, the parameter file, the
# scene and the output folder at the same paths (a shared folder).
# Segments are joined with scripts/join-movie.sh, without re-encoding, and
# the movie's frames are those of a single run. Without a screen each job
# draws through scripts/headless.sh (EGL, else Xvfb). The segments are kept
# in OUT.segments/ when a job fails.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
usage() {
  echo "usage: render-farm.sh [--segments N] [--sshlogin LOGINS] PARAMFILE OUT.mp4 [-- quillmere options]" >&2
  exit 2
}

segments="$(nproc)"
sshlogin=""
while [ $# -gt 0 ]; do
  case "$1" in
    --segments) [ $# -ge 2 ] || usage; segments="$2"; shift 2 ;;
    --sshlogin) [ $# -ge 2 ] || usage; sshlogin="$2"; shift 2 ;;
    --) usage ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -ge 2 ] || usage
flight="$(realpath "$1")"
out="$2"
shift 2
if [ $# -gt 0 ]; then
  [ "$1" = -- ] || usage
  shift
fi
[[ "$segments" =~ ^[1-9][0-9]*$ ]] || { echo "render-farm.sh: --segments needs a positive number" >&2; exit 2; }
program="${QUILLMERE:-$repo/build/bin/quillmere}"

# The frames to render: --frames and --first-frame among the options, else the whole flight.
options=()
first=1
frames=""
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames="$2"; shift 2 ;;
    --first-frame) first="$2"; shift 2 ;;
    *) options+=("$1"); shift ;;
  esac
done
if [ -z "$frames" ]; then
  frames="$("$program" "$flight" --flight-frames)"
  frames=$((frames - first + 1))
fi
[ "$frames" -ge 1 ] || { echo "render-farm.sh: no frames to render" >&2; exit 1; }
[ "$segments" -le "$frames" ] || segments="$frames"

# Segment i of n holds frames first + ⌊(i−1)·F/n⌋ … first + ⌊i·F/n⌋ − 1.
work="$(realpath -m "$out").segments"
rm -rf "$work"
mkdir -p "$work"
jobs="$work/jobs.txt"
: >"$jobs"
for ((i = 1; i <= segments; ++i)); do
  start=$((first + (i - 1) * frames / segments))
  count=$((first + i * frames / segments - start))
  printf '%s\n' "$i $start $count" >>"$jobs"
done

runner=("$program")
if [ -z "${DISPLAY:-}" ]; then runner=(bash "$repo/scripts/headless.sh"); fi
printf -v quoted_runner '%q ' "${runner[@]}"
printf -v quoted_options '%q ' "${options[@]+"${options[@]}"}" "$flight"
parallel_options=(--colsep ' ' --halt now,fail=1)
if [ -n "$sshlogin" ]; then parallel_options+=(--sshlogin "$sshlogin"); else parallel_options+=(--jobs "$segments"); fi
echo "rendering $frames frames from frame $first in $segments segments"
parallel "${parallel_options[@]}" \
  "QUILLMERE=$(printf %q "$program") $quoted_runner $quoted_options --first-frame {2} --frames {3} --record $(printf %q "$work")/segment-{1}.mp4 >$(printf %q "$work")/segment-{1}.log 2>&1" \
  :::: "$jobs" || {
  echo "render-farm.sh: a segment failed; the segments and their logs are in $work/" >&2
  exit 1
}

list=()
for ((i = 1; i <= segments; ++i)); do list+=("$work/segment-$i.mp4"); done
bash "$repo/scripts/join-movie.sh" "$out" "${list[@]}"
rm -rf "$work"
