#!/usr/bin/env bash
# Pictures of the project options dialog (each page) and the fill settings
# dialog as an X server with a window manager shows them: runs their window
# tests under Xvfb with openbox and takes the whole screen with ImageMagick's
# import.  Usage: bash scripts/picture_settings_screens.sh [output folder] [build folder]
# (The X libraries keep memory that the leak checker would report.)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/picture_settings}"
build="${2:-build-test}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for tool in xvfb-run openbox import; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (apt-get install xvfb openbox imagemagick)"; exit 1; }
done
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j3 --target shell_tests
export ASAN_OPTIONS=detect_leaks=0 PELMAR_SHELL_SCREENSHOTS="$out" QT_QPA_PLATFORM=xcb
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  openbox & wm=$!
  sleep 1
  "$0"/tests/shell_tests --gtest_filter="PictureSettingsDialog.*:FillSettingsDialog.*"
  status=$?
  kill $wm
  exit $status' "$build"
echo "Pictures in $out"
