# The start the lessons played with the mouse share; sourced, with the
# output folder's default as the first argument and the script's own
# arguments after it.  Sets `out`, `build` and `work` (removed at the end),
# builds the program, and offers `play SCRIPT`: SCRIPT runs under Xvfb with
# openbox on a 1600 x 1000 screen, with OUT, PROG and WORK set and the
# helpers `at X Y [pause]` (a click), `shot NAME`, `field X Y TEXT`,
# `inside WINDOW X Y [pause]` (`np` and `opt` for the New project and Project
# options windows) and `no` (the drawing not saved).
# PELMAR_BUILD names the build folder (build-dev by default); SHOT_TARGETS
# the targets built there (the program by default).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out="${2:-$1}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
build="$(cd "${PELMAR_BUILD:-build-dev}" 2>/dev/null && pwd || echo "$PWD/${PELMAR_BUILD:-build-dev}")"

if [ ! -f "$build/build.ninja" ]; then cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null; fi
cmake --build "$build" -j3 --target ${SHOT_TARGETS:-pelmar}
export ASAN_OPTIONS=detect_leaks=0

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

play() {
  XDG_DATA_HOME="$work/data" OUT="$out" PROG="$build/pelmar" WORK="$work" xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    set -u
    openbox >/dev/null 2>&1 &
    for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
    at() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
    shot() { sleep 1.5; import -window root "$OUT/$1.png"; }
    field() { at "$1" "$2" 0.3; xdotool key ctrl+a; xdotool type --delay 100 "$3"; xdotool key Tab; sleep 0.8; }
    # A click at a place of a window, from where the window stands; the
    # New project and Project options windows by name.
    inside() {
      eval "$(xdotool search --onlyvisible --name "$1" getwindowgeometry --shell | head -n 5)"
      at $((X + $2)) $((Y + $3)) "${4:-0.3}"
    }
    np() { inside "Новый проект" "$@"; }
    opt() { inside "Опции проекта" "$@"; }
    # "Нет" in the question whether to save the drawing (its buttons stand at
    # its right edge, whatever the file name makes its width).
    no() {
      sleep 1.5
      eval "$(xdotool search --onlyvisible --name "^Pelmar$" getwindowgeometry --shell | head -n 5)"
      at $((X + WIDTH - 139)) $((Y + 42)) 3
    }
    '"$1"
}
