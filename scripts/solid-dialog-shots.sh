#!/usr/bin/env bash
# Screenshots of the pyramid and prism dialogs beside the drawing of their
# solid (hidden edges found automatically), before and after an edit, under
# Xvfb with a window manager:
#   bash scripts/solid-dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/dialog-i3.png, dialog-i3-edited.png, ... for i3, i4, r3, r4
# (default BUILD_DIR/shots).  Needs xvfb, openbox and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j3
out=$(cd "$out" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_DIALOG_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1100x700x24" sh -c \
  'openbox & sleep 1; "$0/tests/dialogs_tests" --gtest_filter="SolidDialogs.*"; s=$?; kill %1 2>/dev/null; exit $s' "$build"
echo "wrote $out/dialog-{i3,i4,r3,r4}{,-edited}.png"
