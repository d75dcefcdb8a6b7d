#!/usr/bin/env bash
# Pictures of the marks on the animation and fill buttons: each dialog that
# has them (point, ellipse, triangle, tetragon, sphere, cylinder, cone, both
# pyramids, both prisms) filled without its features, with them, and with
# them where its buttons are disabled or its condition is not met, side by
# side, under Xvfb with a window manager:
#   bash scripts/feature-mark-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/marks-<kind code>.png (default BUILD_DIR/shots).  Needs xvfb
# and openbox.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j3
out=$(cd "$out" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_MARK_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1100x700x24" sh -c \
  'openbox & sleep 1; "$0/tests/dialogs_tests" --gtest_filter="FeatureMarks.*"; s=$?; kill %1 2>/dev/null; exit $s' "$build"
echo "wrote $out/marks-*.png"
