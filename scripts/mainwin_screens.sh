#!/usr/bin/env bash
# Pictures of the main window: the scripted session of the shell tests saves
# the window with a drawing at 100 % and 200 % and the drawing itself; then
# the program is started on that drawing under Xvfb and the whole screen is
# taken (the transformations window stays on top at its bottom left).
# Usage: bash scripts/mainwin_screens.sh [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/mainwin}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
command -v xvfb-run >/dev/null || { echo "xvfb-run is missing (apt-get install xvfb)"; exit 1; }
command -v import >/dev/null || { echo "import is missing (apt-get install imagemagick)"; exit 1; }
cmake -S . -B build-dev -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-dev -j4 --target shell_tests pelmar
export ASAN_OPTIONS=detect_leaks=0
PELMAR_MAINWIN_SHOTS="$out" QT_QPA_PLATFORM=offscreen build-dev/tests/shell_tests --gtest_filter='MainWindow.NewUserSession'
# The program in a scratch program folder, on the saved drawing, the screen
# taken once the window is up.  Bare Xvfb has no window manager: the window
# is given the screen's size.
prog="$(mktemp -d)"
XDG_DATA_HOME="$prog" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c "
  build-dev/pelmar -qwindowgeometry 1600x1000+0+0 '$out/drawing.pel' &
  pid=\$!
  sleep \${PELMAR_SHOT_WAIT:-8}
  import -window root '$out/program.png'
  kill \$pid"
rm -rf "$prog"
echo "Pictures in $out"
