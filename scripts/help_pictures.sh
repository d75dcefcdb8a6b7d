#!/usr/bin/env bash
# Makes the pictures of the help page (share/pelmar/Help/*.png) with the
# program's own windows: the shell tests' help session, run offscreen.
# Usage: bash scripts/help_pictures.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-share/pelmar/Help}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
cmake -S . -B build-dev -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-dev -j3 --target shell_tests
ASAN_OPTIONS=detect_leaks=0 PELMAR_HELP_PICTURES="$out" QT_QPA_PLATFORM=offscreen \
  build-dev/tests/shell_tests --gtest_filter='HelpPictures.*'
ls -l "$out"/*.png
