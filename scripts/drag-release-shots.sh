#!/usr/bin/env bash
# A drag's moves and its release in the real program, under Xvfb with openbox
# on a 1600 x 1000 screen, then the program quit as a user quits it: a new
# drawing (800 x 800) with Tetragon 1 made a parallelogram (100; 100)
# (220; 100) (260; 170) (140; 170), its dialog open, and the edit tool.
#   held.png       vertex 3 dragged to (200; 230) in moves of 3 px, the button
#                  held: the dialog follows the drag
#   released.png   let go: what the drag stored, the dialog with it
#   undone.png     one Undo: the parallelogram as it was
#   asked.png      Ctrl+Q: the question whether to save the drawing
# "process ended" is printed when "Нет" ends the program.
# Usage: bash scripts/drag-release-shots.sh [output folder]
source "$(dirname "$0")/mouse-session.sh" screens/drag-release "$@"
play '
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  parallelogram                   # New: tetragons, 800 x 800
  xdotool mousemove "$(sx 260)" "$(sy 170)" mousedown 1; sleep 0.5
  for i in $(seq 1 20); do xdotool mousemove "$(sx $((260 - 3 * i)))" "$(sy $((170 + 3 * i)))"; sleep 0.1; done
  shot held
  xdotool mouseup 1; sleep 1
  xdotool mousemove 1300 900; shot released
  at 1532 56 2; shot undone       # Undo
  xdotool key ctrl+q; shot asked
  no
  if kill -0 $pid 2>/dev/null; then echo "still running"; kill $pid; else echo "process ended"; fi
'
echo "Pictures in $out"
