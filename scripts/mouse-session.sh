# The start the lessons played with the mouse share; sourced, with the
# output folder's default as the first argument and the script's own
# arguments after it.  Sets `out`, `build` and `work` (removed at the end),
# builds the program, and offers `play SCRIPT`: SCRIPT runs under Xvfb with
# openbox on a 1600 x 1000 screen, with OUT, PROG and WORK set and the
# helpers `at X Y [pause]` (a click), `shot NAME`, `field X Y TEXT`,
# `keys KEY...`, `inside WINDOW X Y [pause]` (a click in a window; `np` and
# `opt` for the New project and Project options windows) and `no` (the
# drawing not saved).
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
    keys() { for k in "$@"; do xdotool key --delay 150 "$k"; done; }
    # A click at a place of the window named $1, from where it stands.
    inside() {
      eval "$(xdotool search --onlyvisible --name "$1" getwindowgeometry --shell | head -n 5)"
      at $((X + $2)) $((Y + $3)) "${4:-0.3}"
    }
    at() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-1}"; }
    shot() { sleep 1.5; import -window root "$OUT/$1.png"; }
    field() { at "$1" "$2" 0.3; xdotool key ctrl+a; xdotool type --delay 100 "$3"; xdotool key Tab; sleep 0.8; }
    np() { inside "Новый проект" "$@"; }
    opt() { inside "Опции проекта" "$@"; }
    # A new drawing of tetragons, 800 x 800, Tetragon 1 open in its dialog;
    # with eight numbers, its vertices (x1 y1 ... x4 y4) typed in.
    tetragons() {
      at 18 56 2
      np 29 147; np 323 273 3
      opt 113 37; xdotool key ctrl+a; xdotool type 800
      opt 113 66; xdotool key ctrl+a; xdotool type 800; xdotool key Tab
      opt 340 338 4
      [ $# -eq 8 ] || return 0
      field 106 253 "$1"; field 184 253 "$2"; field 313 253 "$3"; field 389 253 "$4"
      field 106 278 "$5"; field 184 278 "$6"; field 313 278 "$7"; field 389 278 "$8"
    }
    # The screen place of a point of that 800 x 800 picture, whose corner
    # (0; 799) stands at (458, 139).
    sx() { echo $((458 + $1)); }
    sy() { echo $((139 + 799 - $1)); }
    # The parallelogram (100; 100) (220; 100) (260; 170) (140; 170) in that
    # drawing, selected by side 1, with the edit tool.
    parallelogram() {
      tetragons 100 100 220 100 260 170 140 170
      at 43 458 2                   # Параллелограмм
      at 539 119 1                  # the select tool: the tetragon by side 1
      at "$(sx 160)" "$(sy 100)" 1
      at 571 119 1                  # the edit tool
    }
    # "Нет" in the question whether to save the drawing (its buttons stand at
    # its right edge, whatever the file name makes its width).
    no() {
      sleep 1.5
      eval "$(xdotool search --onlyvisible --name "^Pelmar$" getwindowgeometry --shell | head -n 5)"
      at $((X + WIDTH - 139)) $((Y + 42)) 3
    }
    # The drawing saved as NAME.pel and its animation built with 11 frames
    # (shot anim); frames 00, 05 and 10 of the GIF put in OUT, all eleven
    # side by side, each of SIZE, in frames.png; gif names the GIF ("" when
    # none was written).
    animate() {
      at 115 56 2                   # Save As
      at 795 642 0.3; xdotool key ctrl+a; xdotool type "$WORK/$1.pel"; xdotool key Return; sleep 3
      at 584 56 2                   # the animation builder
      at 858 414 0.3; xdotool key ctrl+a; xdotool type --delay 150 11
      at 821 592 1                  # Создать
      for i in $(seq 120); do ls "$WORK/$1".*gif >/dev/null 2>&1 && break; sleep 0.5; done
      sleep 3; shot anim
      at 906 592 1                  # Закрыть
      gif=$(ls "$WORK/$1".*gif 2>/dev/null | head -n 1)
      if [ -z "$gif" ]; then echo "no GIF was written"; return; fi
      mkdir -p "$WORK/frames"
      convert "$gif" -coalesce "$WORK/frames/frame-%02d.png"
      cp "$WORK"/frames/frame-{00,05,10}.png "$OUT/"
      montage "$WORK"/frames/frame-*.png -tile 4x -geometry "$2+4+4" "$OUT/frames.png"
    }
    # Frame N over still-N.png, red where they differ; the count printed.
    against() {
      [ -n "$gif" ] || return 0
      d=$(compare -metric AE -fuzz 25% "$OUT/frame-$1.png" "$OUT/still-$1.png" "$OUT/frame-$1-vs-still.png" 2>&1 || true)
      echo "frame $1 and its still differ in $d pixels"
    }
    '"$1"
}
