#!/usr/bin/env bash
# Draws a sample drawing three ways and puts the pictures side by side:
#   bash scripts/office-shots.sh [BUILD_DIR] [OUT_DIR]
# builds the office tests in BUILD_DIR (default build-dev) and runs the picture
# tests, which write to OUT_DIR (default BUILD_DIR/office-shots), for each
# sample drawing STEM (sample, figures, labels, lesson): STEM_pelmar.png (the program's own
# picture), STEM.odg and STEM_text.odt (the two shape exports) with
# LibreOffice's PNG of each, and STEM-side-by-side.png of the three (the text
# export cut to its picture area).  Needs LibreOffice (soffice) and
# imagemagick; without LibreOffice the test skips and nothing is converted.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/office-shots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
if ! command -v soffice > /dev/null; then
  echo "LibreOffice is not installed (apt-get install -y libreoffice-draw libreoffice-writer --no-install-recommends)" >&2
  exit 1
fi
cmake --build "$build" --target office_tests -j4
PELMAR_OFFICE_SHOTS="$out" QT_QPA_PLATFORM=offscreen \
  "$build/tests/office_tests" --gtest_filter='OfficePictures.*' || true
for stem in sample figures labels lesson; do
  if [ ! -f "$out/${stem}_odt_cropped.png" ]; then
    echo "no pictures of $stem: see the test's output above" >&2
    continue
  fi
  convert "$out/${stem}_pelmar.png" "$out/${stem}_odg_scaled.png" "$out/${stem}_odt_cropped.png" +append \
    "$out/${stem}-side-by-side.png"
  echo "wrote $out/${stem}-side-by-side.png (own picture, drawing export, text export)"
done
