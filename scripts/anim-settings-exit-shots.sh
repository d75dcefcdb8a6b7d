#!/usr/bin/env bash
# The animation settings are the drawing's own: changed in the builder and
# the builder closed, File > Exit asks whether to save.  Played with the
# mouse and keyboard under Xvfb with openbox on a 1600 x 1000 screen:
#   opened.png    a saved drawing opened, Point 1 chosen in the object list
#   delay.png     the animation builder: the delay 250 typed, then Tab
#   closed.png    the builder closed: Save and Undo are on
#   asked.png     File > Exit: the question whether to save the drawing
#   undone.png    "Отмена", then Undo: the delay as it was in the builder
# The program ends by Ctrl+Q and "Нет"; the script says whether it asked.
# Usage: bash scripts/anim-settings-exit-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/anim-settings-exit "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  # Point 1 current: the first entry of the object list.
  at 350 56 1; xdotool key Home Return; sleep 2; shot opened
  at 584 56 2                     # the animation builder
  at 858 385 0.3; xdotool key ctrl+a; xdotool type --delay 150 250; xdotool key Tab; shot delay
  at 906 592 1; shot closed       # Закрыть
  xdotool key ctrl+q; sleep 2; shot asked
  if xdotool search --onlyvisible --name "^Pelmar$" >/dev/null 2>&1; then echo "Exit asked"; else echo "Exit did not ask"; fi
  xdotool key Escape; sleep 1     # Отмена: the program runs on
  xdotool key ctrl+z; sleep 1
  at 584 56 2; shot undone        # the builder again: the delay before the change
  # Escape with a delay it refuses: it stays on the field with its tip; a
  # second Escape closes it.
  at 858 385 0.3; xdotool key ctrl+a; xdotool type --delay 150 "12,5"
  xdotool key Escape; shot told
  if xdotool search --onlyvisible --name "^Анимация$" >/dev/null 2>&1; then echo "the builder stays open"; else echo "the builder closed"; fi
  xdotool key Escape; sleep 1
  xdotool key ctrl+q; sleep 2
  at 811 508 3                    # "Нет": the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
