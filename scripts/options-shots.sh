#!/usr/bin/env bash
# Pictures of the program options (its four pages) and of the main window
# with a new drawing, in Russian and in English: the program runs under Xvfb
# with a window manager (openbox) on a scratch program folder whose settings
# choose the language, and the whole screen is taken.
#   <lang>-main.png           the main window after File > New (the question
#                             about the unsaved drawing at the end answered No)
#   <lang>-options-<n>.png    the options dialog on page n (1 to 4)
#   switch-english.png        in English, a tetragon's dialog open beside the
#                             picture window, the options on the language page
#   switch-russian.png        the same after Russian is chosen in the list:
#                             the dialog takes the Russian words and width, and
#                             the picture window stands clear of it
#   toolbar-more.png          the main window narrowed, the tool bar's » menu
#                             open with the buttons that did not fit
# Usage: bash scripts/options-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/options}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
for tool in xvfb-run openbox import xdotool xprop wmctrl; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (xvfb, openbox, imagemagick, xdotool, x11-utils, wmctrl)"; exit 1; }
done
build="${PELMAR_BUILD:-build-dev}"
if [ ! -f "$build/build.ninja" ]; then cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null; fi
cmake --build "$build" -j3 --target pelmar
export ASAN_OPTIONS=detect_leaks=0 BUILD="$build"

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
    PELMAR_TEST_SCRIPT="Ok MeNew No" "$BUILD/pelmar" &
    pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    import -window root "$OUT/$LANG_TAG-main.png"
    kill -TERM $pid; wait $pid || true
    PELMAR_TEST_SCRIPT="MeOptProg" "$BUILD/pelmar" &
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
  if [ "$lang" = English ]; then
    # The language changed with an object dialog open, then the tool bar's
    # » menu of a narrow main window.
    XDG_DATA_HOME="$data" OUT="$out" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
      set -u
      openbox >/dev/null 2>&1 &
      for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
      PELMAR_TEST_SCRIPT="Ok MeNew MeNewKv No MeOptProg" "$BUILD/pelmar" &
      pid=$!
      sleep "${PELMAR_SHOT_WAIT:-8}"
      xdotool key Return  # the picture settings of the new drawing
      sleep 2
      for page in 1 2 3; do xdotool key ctrl+Tab; sleep 0.5; done
      xdotool key Tab
      sleep 1
      import -window root "$OUT/switch-english.png"
      xdotool key Home  # the built-in Russian, first in the list
      sleep 2
      import -window root "$OUT/switch-russian.png"
      xdotool key Return
      sleep 1
      wmctrl -r Pelmar -b remove,maximized_vert,maximized_horz
      sleep 1
      wmctrl -r Pelmar -e 0,0,0,800,700
      sleep 2
      # The » button at the right end of the tool bar, the window at the
      # screen'"'"'s top left with its caption above the screen.
      xdotool mousemove 790 37 click 1
      sleep 1
      import -window root "$OUT/toolbar-more.png"
      xdotool key Escape
      kill -TERM $pid; wait $pid || true
    '
  fi
done
echo "Pictures in $out"
