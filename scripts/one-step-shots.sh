#!/usr/bin/env bash
# One action, one Undo, played with the mouse and keyboard under Xvfb with
# openbox on a 1600 x 1000 screen, on a new drawing of a point, a segment, an
# ellipse, a triangle, a 2D system and a sphere:
#   formula-typed.png   the 2D system's graph 1 ("2*sin(x)") typed over with
#                       "sin(x)" key by key, and Tab
#   formula-undone.png  Правка > Отменить once: the field shows "2*sin(x)"
#                       again, and Undo is off (the typing was one step)
#   formula-answers.png the Правка menu opened afterwards: the program answers
#   pasted.png          everything selected, copied as the selection, the
#                       selection cleared, and Правка > Вставить
#   paste-undone.png    Правка > Отменить once: the pasted objects are gone
#                       and Undo is off again (the paste was one step)
#   paste-answers.png   the Правка menu opened afterwards
#   pasted-list.png, paste-undone-list.png  the object list opened after each
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/one-step-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/one-step "$@"
play '
  edit() { at 141 27 1; at "$1" "$2" 2; }   # an item of the Правка menu
  undo() { edit 175 48; }
  answers() { at 141 27 1; shot "$1"; xdotool key Escape; sleep 0.5; }
  # The object list: its entries, as the combo shows them.
  entries() {
    at 355 56 1; shot "$1-list"; xdotool key Escape; sleep 0.5
  }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10

  # A new drawing: points, segments, ellipses, triangles, XOY and spheres.
  at 18 56 2
  for y in 30 59 88 117 176; do np 29 $y; done
  np 253 30
  np 323 273 3
  opt 340 338 4                   # Ok: the point dialog opens

  # 1. The formula of graph 1, typed and undone once.
  at 355 56 1
  for k in Down Down Down Down Return; do xdotool key --delay 150 $k; done
  sleep 2
  at 227 112 1                    # XOY - Графики
  at 192 161 0.3; xdotool key ctrl+a; xdotool type --delay 100 "sin(x)"; xdotool key Tab
  shot formula-typed
  undo; shot formula-undone
  answers formula-answers

  # 2. The selection copied and pasted, undone once.
  at 810 119 1                    # select all
  edit 180 95                     # Копировать
  at 682 520 0.5; at 810 560 2    # Выделенный(е), Да
  at 842 119 1                    # select none
  edit 175 116; shot pasted       # Вставить
  entries pasted
  undo; shot paste-undone
  entries paste-undone
  answers paste-answers

  at 700 27 1
  xdotool key ctrl+q; no          # the drawing is not saved
  sleep 2
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
