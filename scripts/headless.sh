#!/usr/bin/env bash
# Runs the quillmere program without a screen:
#
#   scripts/headless.sh [quillmere arguments...]
#
# through EGL (Mesa's surfaceless platform, no X server) when that works on
# this machine, else under Xvfb with xvfb-run. QUILLMERE names the program
# (default build/bin/quillmere); QUILLMERE_HEADLESS=egl or =xvfb forces a way.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
program="${QUILLMERE:-$repo/build/bin/quillmere}"

way="${QUILLMERE_HEADLESS:-}"
if [ -z "$way" ]; then
  # One frame of the placeholder tells whether EGL draws here.
  probe="$(mktemp --suffix=.png)"
  if "$program" --headless --frames 1 --screenshot "$probe" --size 32x32 >/dev/null 2>&1; then
    way=egl
  else
    way=xvfb
  fi
  rm -f "$probe"
fi

if [ "$way" = egl ]; then
  exec "$program" --headless "$@"
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" "$program" "$@"
