#!/usr/bin/env bash
# Takes a screenshot of the transformations window and the animation
# builder (after a build) under Xvfb:
#   bash scripts/transform-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/transform-windows.png (default BUILD_DIR/shots).  Needs xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target transform_tests -j4
out=$(cd "$out" && pwd)
# The X platform's D-Bus library keeps memory to the end; that is no leak of ours.
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_TRANS_SHOT="$out/transform-windows.png" \
  xvfb-run -a -s "-screen 0 1000x400x24" \
  "$build/tests/transform_tests" --gtest_filter='TransformWindowsShot.*'
echo "wrote $out/transform-windows.png"
