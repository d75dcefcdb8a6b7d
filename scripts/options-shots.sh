#!/usr/bin/env bash
# Pictures of the program options (its four pages) and of the main window
# with a new drawing, in Russian and in English: the program runs under Xvfb
# with a window manager (openbox) on a scratch program folder whose settings
# choose the language, and the whole screen is taken.
#   <lang>-main.png           the main window after File > New (the question
#                             about the unsaved drawing at the end answered No)
#   <lang>-options-<n>.png    the options dialog on page n (1 to 4)
# Usage: bash scripts/options-shots.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/options}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for tool in xvfb-run openbox import xdotool xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, openbox, imagemagick, xdotool, x11-utils)"; exit 1; }
done
cmake -S . -B build-dev -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-dev -j3 --target pelmar
export ASAN_OPTIONS=detect_leaks=0

data="$(mktemp -d)"
trap 'rm -rf "$data"' EXIT
mkdir -p "$data/pelmar"
for lang in Russian English; do
  # The shipped settings with the language's line 13 (code page 1251, CR LF).
  name="Russian"
  [ "$lang" = English ] && name="English.trs"
  head -n 12 share/pelmar/Pelmar.set > "$data/pelmar/Pelmar.set"
  printf '%s\r\n' "$name" >> "$data/pelmar/Pelmar.set"
  XDG_DATA_HOME="$data" LANG_TAG="$lang" OUT="$out" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    set -u
    openbox >/dev/null 2>&1 &
    for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
    PELMAR_TEST_SCRIPT="Ok MeNew No" build-dev/pelmar &
    pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    import -window root "$OUT/$LANG_TAG-main.png"
    kill -TERM $pid; wait $pid || true
    PELMAR_TEST_SCRIPT="MeOptProg" build-dev/pelmar &
    pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    for page in 1 2 3 4; do
      import -window root "$OUT/$LANG_TAG-options-$page.png"
      xdotool key ctrl+Tab
      sleep 1
    done
    xdotool key Escape
    sleep 1
    kill -TERM $pid; wait $pid || true
  '
done
echo "Pictures in $out"
