#!/usr/bin/env bash
# Screenshots of the picture window (a drawing at 100 % and 200 %, a drag in
# progress, the ruler) and of the new-object link dialog under Xvfb:
#   bash scripts/picture-shots.sh [BUILD_DIR] [OUT_DIR]
# builds the editing tests in BUILD_DIR (default build-dev) and writes the
# pictures to OUT_DIR (default BUILD_DIR/shots).  Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target editing_tests -j4
out=$(cd "$out" && pwd)
# The X platform's D-Bus library keeps memory to the end; that is no leak of ours.
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_PICTURE_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1100x800x24" \
  "$build/tests/editing_tests" --gtest_filter='PictureShots.*'
ls "$out"/picture-*.png "$out"/link-dialog.png
