#!/usr/bin/env bash
# Typed figures dragged with the mouse, under Xvfb with openbox on a
# 1600 x 1000 screen: a new drawing (800 x 800) with Tetragon 1 a square
# (100; 100) (200; 100) and Triangle 1 made equilateral on (400; 100)
# (500; 100); the edit tool drags a vertex 1 of each.
#   square.png          the triangle's dialog, the square beside it
#   square-dragged.png  the square (not current) dragged by vertex 1 to
#                       (120; 110): still a square, vertices 3 and 4 at
#                       (210; 180) and (130; 190)
#   square-undone.png   Undo: the square as it was; then Redo
#   square-dialog.png   the square made current: its dialog shows those vertices
#   triangle-dragged.png  the triangle (not current) dragged by vertex 1 to
#                       (420; 110): still equilateral on the screen
#   triangle-dialog.png its dialog: three equal sides
#   triangle-circle.png its circumscribed circle ticked: no vertex moves
#   saved.png           the drawing saved as drag.pel
#   reopened.png        the program started again on drag.pel: the same
#                       picture (the count of differing pixels is printed),
#                       Save grey
#   checks.txt          the pixel count, drag.pel against the same drawing
#                       saved again after reopening, and whether each run of
#                       the program ended at Ctrl+Q without a question
# Usage: bash scripts/drag-type-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built);
# PELMAR_PROG runs another program file instead (an older build, to compare).
source "$(dirname "$0")/mouse-session.sh" screens/drag-type "$@"
play '
  prog="${PELMAR_PROG:-$PROG}"
  inside() {
    eval "$(xdotool search --onlyvisible --name "$1" getwindowgeometry --shell | head -n 5)"
    at $((X + $2)) $((Y + $3)) "${4:-0.3}"
  }
  np() { inside "Новый проект" "$@"; }
  opt() { inside "Опции проекта" "$@"; }
  # The left button held from one picture point to another in eight moves.
  drag() {
    xdotool mousemove "$(sx "$1")" "$(sy "$2")" mousedown 1; sleep 0.5
    for s in 1 2 3 4 5 6 7 8; do
      xdotool mousemove "$(sx $(( $1 + ($3 - $1) * s / 8 )))" "$(sy $(( $2 + ($4 - $2) * s / 8 )))"; sleep 0.2
    done
    xdotool mouseup 1; sleep 1
  }
  picture() { sleep 1.5; import -window root -crop 800x800+458+139 +repage "$OUT/$1.png"; }
  # The item of the object combo that the keys reach from the current one.
  combo() { at 354 56 1; xdotool key --delay 200 "$@" Return; sleep 2; }
  # Ctrl+Q; whether the program ended without asking.
  quit() {
    xdotool key ctrl+q; sleep 3
    if kill -0 $pid 2>/dev/null; then
      echo "$1: the program asked or runs on" >> "$OUT/checks.txt"; xdotool key Escape; kill $pid
    else
      echo "$1: the program ended at Ctrl+Q" >> "$OUT/checks.txt"
    fi
  }
  : > "$OUT/checks.txt"

  "$prog" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  tetragons                       # New: tetragons, 800 x 800
  at 43 439 2                     # Квадрат
  field 106 253 100; field 184 253 100; field 313 253 200; field 389 253 100
  at 1143 56 3; at 988 603 3      # a new triangle, free: its dialog opens
  field 115 253 400; field 211 253 100; field 115 278 500; field 211 278 100
  field 115 302 450; field 211 302 200
  at 43 440 2                     # Равносторонний
  shot square

  # The square, not current, dragged by vertex 1; Undo and Redo.
  at 539 119 1                    # the select tool: the square by side 1
  at "$(sx 150)" "$(sy 100)" 1
  at 571 119 1                    # the edit tool
  drag 100 100 120 110
  xdotool mousemove 1300 900; shot square-dragged
  at 1532 56 2; shot square-undone
  at 1564 56 2
  combo Down; shot square-dialog  # the square made current (the list holds the triangle first)

  # The triangle, not current, dragged by vertex 1; then made current, and
  # its circumscribed circle ticked.
  at 539 119 1
  at "$(sx 450)" "$(sy 100)" 1
  at 571 119 1
  drag 400 100 420 110
  xdotool mousemove 1300 900; shot triangle-dragged
  combo Up; shot triangle-dialog
  at 33 564 2; shot triangle-circle
  at 539 119 1                    # nothing selected: the picture as saved
  at "$(sx 700)" "$(sy 700)" 1

  at 115 56 2                     # Save As
  at 795 642 0.3; xdotool key ctrl+a; xdotool type "$WORK/drag.pel"; xdotool key Return; sleep 3
  picture saved
  quit "after saving"

  # Opened again: the same picture; nothing to save.
  "$prog" "$WORK/drag.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  shot reopened; picture reopened-picture
  d=$(compare -metric AE "$OUT/saved.png" "$OUT/reopened-picture.png" /dev/null 2>&1 || true)
  echo "the picture reopened differs from the one saved in $d pixels" >> "$OUT/checks.txt"
  at 115 56 2                     # Save As again
  at 795 642 0.3; xdotool key ctrl+a; xdotool type "$WORK/again.pel"; xdotool key Return; sleep 3
  if cmp -s <(grep -av "drag.pel\|again.pel" "$WORK/drag.pel") <(grep -av "drag.pel\|again.pel" "$WORK/again.pel"); then
    echo "drag.pel saved again after reopening: the same bytes" >> "$OUT/checks.txt"
  else
    echo "drag.pel saved again after reopening: other bytes" >> "$OUT/checks.txt"
    diff <(grep -av "drag.pel\|again.pel" "$WORK/drag.pel") <(grep -av "drag.pel\|again.pel" "$WORK/again.pel") \
      | head -n 20 >> "$OUT/checks.txt" || true
  fi
  quit "after reopening"
'
rm -f "$out/reopened-picture.png"
cat "$out/checks.txt"
echo "Pictures in $out"
