#!/usr/bin/env bash
# Pictures of the shipped 2D and 3D coordinate systems under each font set
# (scripts/font-sets.sh), with their axis numbers enlarged, for looking at
# the room between the numbers and the ticks:
#   bash scripts/font-shots.sh [BUILD_DIR] [OUT_DIR]
# builds the shell tests in BUILD_DIR (default build-dev) and writes
# OUT_DIR/<set>/XOY.png and XYZ.png (the whole pictures) and
# OUT_DIR/<kind>-numbers.png (the middle of each drawing, three times
# enlarged, the sets one under the other: DejaVu, URW, Liberation).
# Needs imagemagick.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/font-shots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cmake --build "$build" --target shell_tests -j4
for set in dejavu urw liberation; do
  rm -rf "${out:?}/$set"
  PELMAR_DEFAULT_SET_PICTURES="$out/$set" bash scripts/font-sets.sh "$set" \
    env QT_QPA_PLATFORM=offscreen "$build/tests/shell_tests" --gtest_filter='DefaultSets.EveryKindDrawsSomething' > /dev/null
done
for kind in XOY XYZ; do
  parts=()
  for set in dejavu urw liberation; do
    convert "$out/$set/$kind.png" -trim +repage -gravity center -crop 60%x60%+0+0 +repage -scale 300% \
      "$out/$set/$kind-middle.png"
    parts+=("$out/$set/$kind-middle.png")
  done
  convert "${parts[@]}" -bordercolor red -border 2 -append "$out/$kind-numbers.png"
done
ls "$out"/*-numbers.png
