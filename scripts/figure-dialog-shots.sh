#!/usr/bin/env bash
# Takes a screenshot of the triangle and tetragon dialogs, both pages each,
# under Xvfb:
#   bash scripts/figure-dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/figure-dialogs.png (default BUILD_DIR/shots).  Needs xvfb and
# imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j4
out=$(cd "$out" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_FIGURE_SHOT="$out/figure-dialogs.png" \
  xvfb-run -a -s "-screen 0 2400x1000x24" \
  "$build/tests/dialogs_tests" --gtest_filter='FigureDialogShots.*'
echo "wrote $out/figure-dialogs.png"
