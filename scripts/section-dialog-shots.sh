#!/usr/bin/env bash
# Screenshots of a 3D system's section dialog (with the bounds dialog of one
# section over it) and outline dialog beside the drawing they edit, under
# Xvfb with a window manager:
#   bash scripts/section-dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/dialog-sections.png and dialog-outline.png (default
# BUILD_DIR/shots).  Needs xvfb, openbox and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j3
out=$(cd "$out" && pwd)
export ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_SURFACE_SHOTS="$out"
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
  status=0
  "$0/tests/dialogs_tests" --gtest_filter="SurfaceDialogs.*" || status=$?
  kill "$wm" 2>/dev/null || true
  exit $status' "$build"
echo "wrote $out/dialog-sections.png and $out/dialog-outline.png"
