#!/usr/bin/env bash
# Numbers at the edge of what the program can draw and store, and Undo at the
# edges, played with the mouse and keyboard under Xvfb with openbox on a
# 1600 x 1000 screen.  The program runs under a memory limit of 8 GB
# (ulimit -v), so a number that made it take the machine's memory ends it
# instead; build without the sanitizers (they cannot run under the limit).
# A new drawing with a point, a tetragon, a 2D system and a triangular prism:
#   prism-edge.png       the prism's edge vector, third box 3000000000, Enter:
#                        refused with a tip
#   prism-answers.png    then 200 and Enter in the same box: the window
#                        answers, the prism is drawn with it
#   tetragon-side.png    the tetragon's "Длина 1" 1000000000000, Enter:
#                        refused with a tip, the vertices as they were
#   homothety-told.png   the transformations, "Гомотетия", scope "Все", K
#                        "-1/2", "Применить": «Неверное число»
#   homothety-after.png  the message closed: nothing moved, "-1/2" kept
#   scale-35.png         the 2D system's "Масштаб X" typed 35, Tab
#   print-before.png     Project options, "Печать": the top margin before
#   print-margin.png     the top margin typed 1
#   undo-scale.png       OK, then one Ctrl+Z: the scale still 35
#   print-after.png      the options opened again: the margin back as before
#   drag-1.png           the tetragon dragged with the edit tool, released
#   drag-held.png        pressed again and held, moved on
#   drag-held-undo.png   Ctrl+Z with the button held
#   drag-released.png    the button released
#   drag-undo-1.png, drag-undo-2.png  Undo, Undo: back step by step
#   drag-redo-1..3.png   Redo three times: every step again, none lost
#   closing-new.png      the close box: the save question ("Нет")
# A saved drawing opened, nothing chosen in the object list:
#   opened.png           as it opens
#   translated.png       "Перенос" (0, 0, 10), scope "Все", "Применить"
#   closing-opened.png   the close box: the save question ("Нет")
# The script says whether each run ended, and the largest memory each took.
# Usage: bash scripts/edge-number-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/edge-numbers "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  keys() { for k in "$@"; do xdotool key --delay 150 "$k"; done; }
  quick() { sleep 0.4; import -window root "$OUT/$1.png"; }   # before a tip fades
  choose() { at 355 56 1; keys "$@" Return; sleep 2; }        # the object list
  opt() {                         # a place in Project options
    eval "$(xdotool search --onlyvisible --name "Опции проекта" getwindowgeometry --shell | head -n 3)"
    at $((X + $1)) $((Y + $2)) "${3:-0.5}"
  }
  options() { at 199 27 0.7; at 229 70 2; opt 292 4 1; }      # Опции > Проекта, Печать
  start() { ( ulimit -v 8000000; exec "$PROG" "$@" ) >/dev/null 2>&1 & pid=$!; sleep 12; }
  ended() {
    grep VmPeak /proc/$pid/status 2>/dev/null | sed "s/^/$1: /"
    at 1590 9 3; shot "closing-$1"
    at 811 508 3                  # "Нет": the drawing is not saved
    if kill -0 $pid 2>/dev/null; then echo "$1: the program runs on"; kill $pid; else echo "$1: the program ended"; fi
  }

  start
  at 18 56 2                      # New: a point, a tetragon, a 2D system, a prism
  at 597 381 0.3; at 597 497 0.3; at 597 526 0.3; at 822 526 0.3
  at 892 624 3; at 901 657 4      # Project options as they are; Point 1 opens

  choose Down Down Down           # Prism3 1
  at 344 241 0.3; xdotool key ctrl+a; xdotool type 3000000000; xdotool key Return
  quick prism-edge
  sleep 3
  at 344 241 0.3; xdotool key ctrl+a; keys 2 0 0 Return; shot prism-answers

  choose Up Up                    # Tetragon 1
  at 357 302 0.3; xdotool key ctrl+a; xdotool type 1000000000000; xdotool key Return
  quick tetragon-side

  at 210 829 1                    # the transformations: Гомотетия, scope Все
  at 150 942 0.3; xdotool key ctrl+a; xdotool type -- "-1/2"
  at 323 948 1; shot homothety-told
  xdotool key Return; shot homothety-after

  choose Down                     # XOY 1
  at 111 273 0.3; xdotool key ctrl+a; keys 3 5 Tab; shot scale-35
  options; shot print-before
  opt 194 213; xdotool key ctrl+a; keys 1 Tab; shot print-margin
  opt 340 338 2                   # Ok
  keys ctrl+z; shot undo-scale
  options; shot print-after
  opt 426 338 2                   # Отмена

  # The picture starts at (458, 139) on the screen; Point 1 is at picture
  # (100, 399), inside the tetragon.  The selection tool takes the tetragon
  # there, the edit tool drags it.
  at 539 119 0.5; at 558 538 1
  at 571 119 0.5
  xdotool mousemove 558 538 mousedown 1; sleep 0.5
  for s in 1 2 3 4; do xdotool mousemove $((558 + 25 * s)) $((538 - 25 * s)); sleep 0.2; done
  xdotool mouseup 1; shot drag-1
  xdotool mousemove 658 438 mousedown 1; sleep 0.5
  for s in 1 2 3 4; do xdotool mousemove $((658 + 25 * s)) $((438 - 25 * s)); sleep 0.2; done
  shot drag-held
  xdotool key ctrl+z; shot drag-held-undo
  xdotool mouseup 1; shot drag-released
  at 1532 56 2; shot drag-undo-1
  at 1532 56 2; shot drag-undo-2
  at 1564 56 2; shot drag-redo-1
  at 1564 56 2; shot drag-redo-2
  at 1564 56 2; shot drag-redo-3
  ended new

  start "$WORK/d/Drawing.pel"; shot opened
  at 53 829 1                     # Перенос: (0, 0, 10), scope Все
  for f in "70 0" "143 0" "215 10"; do set -- $f; at $1 918 0.3; xdotool key ctrl+a; xdotool type $2; done
  at 323 948 2; shot translated
  ended opened
'
echo "Pictures in $out"
