#!/usr/bin/env bash
# Pictures of the object dialogs of the plane and solid figures and of the
# settings dialogs in Russian and in English, to see that no text is cut off
# in either language: the program runs under Xvfb with a window manager
# (openbox) on a scratch settings folder that chooses the language, makes a
# new drawing with every kind of object and opens one dialog per run; the
# whole screen is taken.
#   <lang>-<menu command>.png   e.g. English-MeNewSf.png, English-MeOptProj.png
# Usage: bash scripts/words-shots.sh [BUILD_DIR] [OUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-dev}"
out="${2:-screens/words}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for tool in xvfb-run openbox import xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, openbox, imagemagick, x11-utils)"; exit 1; }
done
[ -d "$build" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j3 --target pelmar
export ASAN_OPTIONS=detect_leaks=0

commands="${PELMAR_SHOT_COMMANDS:-MeNewXY MeNewXZ MeNewSf MeNewZi MeNewKo MeNewI3 MeNewR4 MeNewCi MeNewTr MeNewKv MeOptProj MeOptProg}"
data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/pelmar"
for lang in Russian English; do
  # The shipped settings with the language's line 13 (code page 1251, CR LF).
  name="Russian"
  [ "$lang" = English ] && name="English.trs"
  head -n 12 share/pelmar/Pelmar.set > "$data/pelmar/Pelmar.set"
  printf '%s\r\n' "$name" >> "$data/pelmar/Pelmar.set"
  for cmd in $commands; do
    XDG_DATA_HOME="$data" LANG_TAG="$lang" OUT="$out" CMD="$cmd" BUILD="$build" \
      xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
      set -u
      openbox >/dev/null 2>&1 &
      for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
      case "$CMD" in MeOpt*) script="$CMD" ;; *) script="Ok MeNew $CMD" ;; esac
      PELMAR_TEST_SCRIPT="$script" "$BUILD/pelmar" &
      pid=$!
      sleep "${PELMAR_SHOT_WAIT:-8}"
      import -window root "$OUT/$LANG_TAG-$CMD.png"
      kill -TERM $pid; wait $pid || true
    '
  done
done
echo "Pictures in $out"
