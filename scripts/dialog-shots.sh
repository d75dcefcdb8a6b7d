#!/usr/bin/env bash
# Takes a screenshot of the dialog controls in their windows under Xvfb:
#   bash scripts/dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# builds the dialog tests in BUILD_DIR (default build-dev), runs the control
# gallery on a virtual X screen and writes OUT_DIR/controls.png and
# controls-popup.png (default BUILD_DIR/shots).  Needs xvfb and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j4
out=$(cd "$out" && pwd)
# The X platform's D-Bus library keeps memory to the end; that is no leak of ours.
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_GALLERY_SHOT="$out/controls.png" \
  xvfb-run -a -s "-screen 0 1280x720x24" \
  "$build/tests/dialogs_tests" --gtest_filter='ControlGallery.*'
echo "wrote $out/controls.png and $out/controls-popup.png"
