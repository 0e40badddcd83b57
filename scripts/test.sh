#!/usr/bin/env bash
# Installs what is missing, configures a fresh build, builds everything and
# runs every test with CTest. `--sanitize` does the same in an
# AddressSanitizer + UndefinedBehaviorSanitizer build (build-sanitize/).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=build
cmake_options=()
if [ "${1:-}" = "--sanitize" ]; then
  build_dir=build-sanitize
  cmake_options=(-DQUILLMERE_SANITIZE=ON -DQUILLMERE_BENCH=OFF)
fi

bash scripts/install-deps.sh
rm -rf "$build_dir"
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_options[@]}"
cmake --build "$build_dir" -j"$(nproc)"
cd "$build_dir"
# Tests that draw with OpenGL need a display; Xvfb gives them one when there is none.
# Xvfb covers both ways of drawing: the window, and offscreen through EGL
# (the tests compare them). Without Xvfb every drawing test draws through
# EGL, and only the comparison is skipped.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  # -noreset: Xvfb would otherwise reset whenever its last client leaves, and
  # refuse the next test process that connects during the reset.
  xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" ctest --output-on-failure --timeout 600 -j"$(nproc)"
else
  ctest --output-on-failure --timeout 600 -j"$(nproc)"
fi
