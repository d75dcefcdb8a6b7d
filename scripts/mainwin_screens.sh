#!/usr/bin/env bash
# Pictures of the main window.  The scripted session of the shell tests saves
# the window with a drawing at 100 % and 200 % and the drawing itself; then
# the program itself runs under Xvfb with a window manager (openbox), so that
# the windows have real frames, and the whole screen is taken:
#   new.png      after File > New, with a segment added and its dialog open
#   saveas.png   the same with the Save As file dialog open
#   program.png  on the saved drawing, after Windows > Default layout
#   ended.txt    how the program ended when asked to (its exit status)
# Xvfb, openbox and ImageMagick are installed when missing, as scripts/deps.sh
# installs the build packages.
# Usage: bash scripts/mainwin_screens.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/mainwin}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"

need=()
command -v xvfb-run >/dev/null || need+=(xvfb xauth)
command -v openbox >/dev/null || need+=(openbox)
command -v import >/dev/null || need+=(imagemagick)
command -v xprop >/dev/null || need+=(x11-utils)
if [ ${#need[@]} -gt 0 ]; then
  echo "Installing: ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi

cmake -S . -B build-dev -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-dev -j3 --target shell_tests pelmar
export ASAN_OPTIONS=detect_leaks=0
PELMAR_MAINWIN_SHOTS="$out" QT_QPA_PLATFORM=offscreen build-dev/tests/shell_tests --gtest_filter='MainWindow.NewUserSession'

# The program in a scratch program folder under a window manager; each run
# is shown PELMAR_SHOT_WAIT seconds, taken, and asked to end as the desktop
# asks a program (SIGTERM, the same as closing its main window).
prog="$(mktemp -d)"
trap 'rm -rf "$prog"' EXIT
XDG_DATA_HOME="$prog" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -u
  openbox >/dev/null 2>&1 &
  for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
  shot() {  # name, script, arguments...
    local name="$1" script="$2"; shift 2
    PELMAR_TEST_SCRIPT="$script" build-dev/pelmar "$@" &
    local pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    import -window root "'"$out"'/$name.png"
    kill -TERM $pid
    local status=0
    wait $pid || status=$?
    echo "$name: the program ended with status $status" >> "'"$out"'/ended.txt"
  }
  rm -f "'"$out"'/ended.txt"
  # New with the new-project dialog accepted as it opens, then a segment
  # from the Object menu with its dialog; the question about the unsaved
  # drawing at the end answered No.
  shot new "Ok MeNew MeNewLi No"
  shot saveas "Ok MeNew MeNewLi No MeSaveAs"
  shot program "MeWinDef" "'"$out"'/drawing.pel"
'
cat "$out/ended.txt"
echo "Pictures in $out"
