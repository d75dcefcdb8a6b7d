#!/usr/bin/env bash
# Screenshots of the point, segment and ellipse dialogs beside the drawing
# they edit, of the coordinate-system dialogs and their graph options, and of
# the animation formula dialogs, under Xvfb:
#   bash scripts/object-dialog-shots.sh [BUILD_DIR] [OUT_DIR]
# writes OUT_DIR/dialog-po.png, dialog-li.png, dialog-ci.png,
# dialog-xy-<page>.png, dialog-xz-<page>.png, dialog-opt<graph>-<tab>.png
# (each also as -trs with a translation's longer words) and
# dialog-FormAnimX1-<graph>.png, -X2-, -X3-, -ZK-<body kind> (default
# BUILD_DIR/shots).  Needs xvfb, openbox and imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/shots}
mkdir -p "$out"
cmake --build "$build" --target dialogs_tests -j4
out=$(cd "$out" && pwd)
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_DIALOG_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1100x700x24" \
  sh -c 'if command -v openbox >/dev/null; then openbox & sleep 1; fi; exec "$0" "$@"' \
  "$build/tests/dialogs_tests" --gtest_filter='PlaneDialogs.*:CoordDialogs.*:AnimDialog.GraphAndBodyModes'
echo "wrote $out/dialog-*.png"
