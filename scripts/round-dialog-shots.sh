#!/usr/bin/env bash
# Screenshots of the sphere, cylinder and cone dialogs beside the drawing they
# edit, before and after a typed value, and of the section-plane dialog, under
# Xvfb with a window manager:
#   bash scripts/round-dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/round-sf.png, round-sf-edited.png, round-orb.png,
# round-zi*.png and round-ko*.png (default BUILD_DIR/shots).  Needs xvfb,
# openbox and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j3
out=$(cd "$out" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_ROUND_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1100x700x24" bash -c '
    openbox & wm=$!
    sleep 1
    "$0" --gtest_filter="RoundDialogShots.*"
    status=$?
    kill $wm
    exit $status' "$build/tests/dialogs_tests"
echo "wrote $out/round-*.png"
