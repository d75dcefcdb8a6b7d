#!/usr/bin/env bash
# Pictures of the new-project dialog and the about box as an X server shows
# them, and of every shipped default object: builds the shell tests and runs
# them under Xvfb.  Usage: bash scripts/shell_screens.sh [output folder]
# (The X libraries keep memory that the leak checker would report.)
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/shell}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
cmake -S . -B build-dev -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-dev -j4 --target shell_tests
ASAN_OPTIONS=detect_leaks=0 PELMAR_SHELL_SCREENSHOTS="$out" PELMAR_DEFAULT_SET_PICTURES="$out/default_sets" QT_QPA_PLATFORM=xcb \
  xvfb-run -a -s "-screen 0 1280x900x24" \
  build-dev/tests/shell_tests --gtest_filter='NewProjectDialog.*:AboutBox.*:DefaultSets.EveryKind*'
echo "Pictures in $out"
