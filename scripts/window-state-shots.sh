#!/usr/bin/env bash
# The picture window opens as its document was saved: the window tests save
# one drawing with the picture window normal, maximised and minimised; the
# program is started with each under Xvfb with openbox and the screen taken:
#   normal.png  maximised.png  minimised.png
#   restored.png  the minimised one after a double click on its title bar
# Usage: bash scripts/window-state-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
set -euo pipefail
cd "$(dirname "$0")/.."
out="${1:-screens/window_state}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
build="${PELMAR_BUILD:-build-dev}"

if [ ! -f "$build/build.ninja" ]; then cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null; fi
cmake --build "$build" -j3 --target shell_tests pelmar
export ASAN_OPTIONS=detect_leaks=0
PELMAR_WINSTATE_FILES="$out" QT_QPA_PLATFORM=offscreen "$build/tests/shell_tests" \
  --gtest_filter='MainWindow.PictureWindowComesBackAsSaved' >/dev/null 2>&1

prog="$(mktemp -d)"
trap 'rm -rf "$prog"' EXIT
XDG_DATA_HOME="$prog" OUT="$out" BUILD="$build" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
  set -u
  openbox >/dev/null 2>&1 &
  for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
  for state in normal maximised minimised; do
    "$BUILD/pelmar" "$OUT/$state.pel" &
    pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    import -window root "$OUT/$state.png"
    if [ "$state" = minimised ]; then
      # The minimised title bar lies at the bottom left of the MDI area.
      read -r X Y < <(xdotool search --sync --onlyvisible --name "^Pelmar" getwindowgeometry --shell | \
        awk -F= "/^X=/{x=\$2} /^Y=/{y=\$2} /^HEIGHT=/{h=\$2} END{print x + 60, y + h - 12}")
      xdotool mousemove "$X" "$Y" click --repeat 2 1
      sleep 2
      import -window root "$OUT/restored.png"
    fi
    kill -TERM $pid
    wait $pid || true
  done
'
rm -f "$out"/*.pel
echo "Pictures in $out"
