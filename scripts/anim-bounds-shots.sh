#!/usr/bin/env bash
# The animation builder's numbers and failures, played with the mouse and
# keyboard under Xvfb with openbox on a 1600 x 1000 screen:
#   delay.png    "-50" typed into the delay: the minus is refused, 50 kept
#   frames.png   "-3" typed into the frame count: 3
#   failed.png   "Создать" with a folder where the GIF would go: the message
#                says which file and why
#   status.png   the red status after the message: why no GIF was made
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/anim-bounds-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/anim-bounds "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
mkdir "$work/d/Drawing.pel.gif"   # the GIF cannot replace a folder
play '
  "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  at 584 56 2                     # the animation builder
  at 858 385 0.3; xdotool key ctrl+a; xdotool type --delay 150 -- "-50"; shot delay
  at 858 414 0.3; xdotool key ctrl+a; xdotool type --delay 150 -- "-3"; shot frames
  at 821 592 4; shot failed       # Создать
  xdotool key Return; sleep 1; shot status
  at 906 592 1                    # Закрыть
  xdotool key ctrl+q; sleep 2; shot closing
  at 811 508 3                    # "Нет": the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
