#!/usr/bin/env bash
# Runs a command under one of three font sets without touching the machine's fonts:
#   dejavu      DejaVu only (a bare machine),
#   urw         DejaVu and the URW base 35 fonts (what scripts/deps.sh installs),
#   liberation  those and the Liberation fonts (a desktop with LibreOffice).
# The Liberation packages are downloaded once into build-fonts/ and unpacked there.
#   bash scripts/font-sets.sh liberation ctest --test-dir build-test -j8
#   bash scripts/font-sets.sh all ctest --test-dir build-test -j8   (each set in turn)
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
set_name=${1:?usage: font-sets.sh dejavu|urw|liberation|all command...}
shift
[ $# -gt 0 ] || { echo "usage: font-sets.sh dejavu|urw|liberation|all command..." >&2; exit 2; }

if [ "$set_name" = all ]; then
  rc=0
  for s in dejavu urw liberation; do
    echo "== fonts: $s"
    bash "$0" "$s" "$@" || rc=1
  done
  exit $rc
fi

work=$top/build-fonts
mkdir -p "$work"
dirs=(/usr/share/fonts/truetype/dejavu)
case "$set_name" in
  dejavu) ;;
  urw|liberation)
    dirs+=(/usr/share/fonts/opentype/urw-base35 /usr/share/fonts/type1/urw-base35)
    if [ "$set_name" = liberation ]; then
      if [ ! -d "$work/liberation/usr/share/fonts" ]; then
        (cd "$work" && apt-get download fonts-liberation fonts-liberation2 >/dev/null 2>&1) || {
          echo "font-sets.sh: could not download the Liberation fonts" >&2; exit 2; }
        for deb in "$work"/fonts-liberation*.deb; do dpkg -x "$deb" "$work/liberation"; done
      fi
      dirs+=("$work/liberation/usr/share/fonts")
    fi
    ;;
  *) echo "font-sets.sh: unknown font set '$set_name'" >&2; exit 2 ;;
esac

conf=$work/fonts-$set_name.conf
{
  echo '<?xml version="1.0"?>'
  echo '<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">'
  echo '<fontconfig>'
  for d in "${dirs[@]}"; do [ -d "$d" ] && echo "  <dir>$d</dir>"; done
  echo '  <include ignore_missing="yes">/etc/fonts/conf.d</include>'
  echo "  <cachedir>$work/cache-$set_name</cachedir>"
  echo '</fontconfig>'
} > "$conf"
export FONTCONFIG_FILE=$conf
echo "fonts ($set_name): Times New Roman -> $(fc-match 'Times New Roman' family 2>/dev/null || echo '?')" >&2
exec "$@"
