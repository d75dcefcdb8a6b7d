#!/usr/bin/env bash
# Pictures of the object dialogs (every kind, every page), of the settings
# dialogs (project picture and fill settings, graph options, fill, outline,
# program options) and of the delete and copy questions in Russian and in our
# English, to see that no text is cut off in either language.  The window test WindowWords.Pictures makes them
# under Xvfb with a window manager (openbox):
#   <Russian|English>-<window>[-<page>].png
# Usage: bash scripts/words-shots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-dev}"
out="${2:-$build/shots/words}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for tool in xvfb-run openbox; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, openbox)"; exit 1; }
done
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j3 --target shell_tests
ASAN_OPTIONS=detect_leaks=0 QT_QPA_PLATFORM=xcb PELMAR_WORDS_SHOTS="$out" \
  xvfb-run -a -s "-screen 0 1600x1000x24" sh -c \
  'openbox & sleep 1; "$0/tests/shell_tests" --gtest_filter="WindowWords.Pictures"; s=$?; kill $! 2>/dev/null; exit $s' "$build"
echo "Pictures in $out"
