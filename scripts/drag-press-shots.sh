#!/usr/bin/env bash
# Vertices dragged through the shapes a type passes through, under Xvfb with
# openbox on a 1600 x 1000 screen: a new drawing (800 x 800) with Tetragon 1
# made a parallelogram (100; 100) (220; 100) (260; 170) (140; 170), its
# dialog open, and the edit tool.
#   para-start.png       the parallelogram selected
#   para-above.png       vertex 3 dragged straight down, at (260; 101)
#   para-flat.png        at (260; 100): flat on side 1
#   para-below.png       at (260; 98): across side 1, on the mouse
#   para-end.png         at (260; 50), 40 moves of 3 px, the button held
#   para-released.png    let go: the parallelogram below side 1
#   para-undone.png      one Undo: the parallelogram as it was
#   square-start.png     the same tetragon made the square (100; 100)
#                        (200; 100) (200; 200) (100; 200)
#   square-near.png      vertex 2 dragged along side 1, at (104; 100)
#   square-point.png     at (100; 100), on vertex 1: one point
#   square-past.png      at (96; 100): a small square below side 1
#   square-end.png       at (20; 100): a square of side 80 below side 1
#   square-released.png  let go
# The tetragon dialog beside the picture shows the vertices at each shot.
# Usage: bash scripts/drag-press-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built);
# PELMAR_PROG runs another program file instead (an older build, to compare).
source "$(dirname "$0")/mouse-session.sh" screens/drag-press "$@"
play '
  prog="${PELMAR_PROG:-$PROG}"
  # The left button pressed at a picture point, moved through others in
  # steps of at most $step pixels, a shot taken where asked (point=name).
  press() { xdotool mousemove "$(sx "$1")" "$(sy "$2")" mousedown 1; sleep 0.5; cx=$1; cy=$2; }
  moveto() {
    local tx=$1 ty=$2 n d s
    d=$(( (tx - cx) * (tx - cx) + (ty - cy) * (ty - cy) ))
    n=1; while [ $(( n * n * step * step )) -lt "$d" ]; do n=$((n + 1)); done
    for s in $(seq 1 $n); do
      xdotool mousemove "$(sx $(( cx + (tx - cx) * s / n )))" "$(sy $(( cy + (ty - cy) * s / n )))"; sleep 0.1
    done
    cx=$tx; cy=$ty
  }
  release() { xdotool mouseup 1; sleep 1; }

  "$prog" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  parallelogram                   # New: tetragons, 800 x 800
  xdotool mousemove 1300 900; shot para-start

  step=3
  press 260 170
  moveto 260 101; shot para-above
  moveto 260 100; shot para-flat
  moveto 260 98; shot para-below
  moveto 260 50; shot para-end
  release
  xdotool mousemove 1300 900; shot para-released
  at 1532 56 2; shot para-undone   # Undo
  at 1564 56 2                     # Redo

  # The same tetragon free again, put as a square.
  at 302 458 2                    # Четырехугольник
  field 106 253 100; field 184 253 100; field 313 253 200; field 389 253 100
  field 106 278 200; field 184 278 200; field 313 278 100; field 389 278 200
  at 43 439 2                     # Квадрат
  at 539 119 1
  at "$(sx 150)" "$(sy 100)" 1
  at 571 119 1
  xdotool mousemove 1300 900; shot square-start

  step=4
  press 200 100
  moveto 104 100; shot square-near
  moveto 100 100; shot square-point
  moveto 96 100; shot square-past
  moveto 20 100; shot square-end
  release
  xdotool mousemove 1300 900; shot square-released
  kill $pid
'
echo "Pictures in $out"
