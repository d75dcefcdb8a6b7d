#!/usr/bin/env bash
# Draws one picture of every kind from the shipped sets, unfilled and filled,
# in an 800 x 600 and a 400 x 300 document, and the shipped 3D system with a
# paraboloid, its sections (one of them z = 3) and its outline, drawn in
# 800 x 600 and then made 500 x 700 in Project options, as a raster and as a
# vector picture; and lays side by side what each program shows of it:
#   bash scripts/kind-shots.sh [BUILD_DIR] [OUT_DIR]
# builds the office tests in BUILD_DIR (default build-dev) and writes into
# OUT_DIR (default BUILD_DIR/kind-shots), for each STEM (SIZE_KIND_plain,
# SIZE_KIND_filled, SIZE_XYZ_surface-raster or SIZE_XYZ_surface-vector):
# STEM.png (the program's picture), STEM.emf,
# office/STEM.odg and office/STEM_text.odt; then STEM_emf.png (Inkscape's
# picture of the metafile), STEM_odg.png and STEM_odt.png (LibreOffice's
# pictures of the exports, cut to the picture and brought to its size) and
# STEM-side-by-side.png: picture, EMF, .odg, .odt.
# Inkscape and LibreOffice are used when installed; as root,
# PELMAR_INSTALL_VIEWERS=1 installs them first (they are not among the
# packages scripts/deps.sh installs).  Needs imagemagick and unzip.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-dev}
out=${2:-$build/kind-shots}
mkdir -p "$out"
out=$(cd "$out" && pwd)

if [ "${PELMAR_INSTALL_VIEWERS:-0}" = 1 ] && [ "$(id -u)" = 0 ]; then
  missing=()
  for p in inkscape libreoffice-draw libreoffice-writer imagemagick unzip; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
fi

cmake --build "$build" --target office_tests -j3
rm -rf "$out"/*.png "$out"/*.emf "$out/office"
PELMAR_KIND_SHOTS="$out" QT_QPA_PLATFORM=offscreen "$build/tests/office_tests" --gtest_filter='KindPictures.*'

inkscape=$(command -v inkscape || true)
soffice=$(command -v soffice || true)
if [ -n "$soffice" ]; then
  profile=$(mktemp -d)
  (cd "$out/office" && soffice -env:UserInstallation=file://"$profile" --headless --convert-to png \
      --outdir "$out/office" ./*.odg ./*_text.odt > /dev/null 2>&1) || echo "LibreOffice failed on some exports" >&2
  rm -rf "$profile"
else
  echo "LibreOffice is not installed: blank panels for the .odg and .odt exports" >&2
fi
[ -n "$inkscape" ] || echo "Inkscape is not installed: blank panels for the metafiles" >&2

# The text page's left and top margins, points (the word processor's page).
left_margin=85.05
top_margin=56.7

for own in "$out"/*_plain.png "$out"/*_filled.png "$out"/*_surface-raster.png "$out"/*_surface-vector.png; do
  [ -f "$own" ] || continue
  stem=${own%.png}
  name=$(basename "$stem")
  size=$(identify -format '%wx%h' "$own")
  w=${size%x*}
  h=${size#*x}
  convert -size "$size" xc:white "${stem}_emf.png"
  convert -size "$size" xc:white "${stem}_odg.png"
  convert -size "$size" xc:white "${stem}_odt.png"
  if [ -n "$inkscape" ]; then
    inkscape "$stem.emf" --export-type=png --export-dpi=96 --export-background=white \
      --export-filename="${stem}_emf.png" > /dev/null 2>&1 || true
  fi
  # The drawing's page is the picture.
  if [ -f "$out/office/$name.png" ]; then
    convert "$out/office/$name.png" -resize "${size}!" "${stem}_odg.png"
  fi
  # The text's page holds the picture (96 dots per inch) inside its margins.
  text="$out/office/${name}_text"
  if [ -f "$text.png" ]; then
    page_cm=$(unzip -p "$text.odt" styles.xml | grep -o 'fo:page-width="[0-9.]*cm"' | head -1 | grep -o '[0-9.]*')
    crop=$(awk -v pw="$page_cm" -v iw="$(identify -format '%w' "$text.png")" -v w="$w" -v h="$h" \
      -v l="$left_margin" -v t="$top_margin" 'BEGIN {
        s = iw / (pw / 2.54 * 72);
        printf "%dx%d+%d+%d", w * 0.75 * s + 0.5, h * 0.75 * s + 0.5, l * s + 0.5, t * s + 0.5 }')
    convert "$text.png" -crop "$crop" +repage -resize "${size}!" "${stem}_odt.png"
  fi
  montage -label '%t' "$own" "${stem}_emf.png" "${stem}_odg.png" "${stem}_odt.png" \
    -tile 4x1 -geometry +6+6 -pointsize 11 "${stem}-side-by-side.png"
done
echo "wrote $out/*-side-by-side.png (picture, EMF in Inkscape, .odg and .odt in LibreOffice)"
