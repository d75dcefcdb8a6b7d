#!/usr/bin/env bash
# Esc after a number a field does not take, and the animation window of a
# point, played with the mouse and keyboard under Xvfb with openbox on a
# 1600 x 1000 screen, on a new drawing with one point:
#   point-x-keys.png  the point's picture X after each key of 1234567 (the
#                     seventh is past the range of coordinates, with its tip)
#   point-x-esc.png   the dialog after Esc: X as before the typing, Undo off
#   anim.png          the point's animation window: a caption with no button
#   anim-ok.png       after Alt+F4 (refused) and Return (Ok)
#   saved.png         the drawing saved and opened again: the point's dialog
# The script says whether the saved file holds 123456, and whether the
# animation window stays open when the window manager is asked to close it.
# Usage: bash scripts/escape-typing-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/escape-typing "$@"
mkdir -p "$work/d"
play '
  crop() { import -window root -crop "$2" +repage "$OUT/$1.png"; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 12
  at 18 56 3                                   # New: a point
  at 598 381 0.6
  at 892 625 3; at 901 657 4                   # Ok, project options Ok: the point dialog
  shot point
  at 136 226 0.3; xdotool key ctrl+a
  parts=()
  for ((i = 0; i < 7; i++)); do
    xdotool key "$((i + 1))"; sleep 0.6; crop "x-$i" 400x60+0+200; parts+=("$OUT/x-$i.png")
  done
  convert "${parts[@]}" -append "$OUT/point-x-keys.png"; rm -f "${parts[@]}"
  xdotool key Escape; sleep 0.6
  shot point-x-esc
  at 115 56 2                                  # Save As
  at 795 642 0.3; xdotool key ctrl+a; xdotool type "$WORK/d/Escape.pel"; xdotool key Return; sleep 3
  if grep -a -q 123456 "$WORK/d/Escape.pel"; then echo "the saved file holds 123456"; else echo "the saved file holds no 123456"; fi
  at 348 514 2                                 # Анимация
  shot anim
  xdotool key alt+F4; sleep 1                  # the window manager asked to close it
  if [ -n "$(xdotool search --onlyvisible --name "^Анимация" 2>/dev/null)" ]; then echo "the animation window stays open"; else echo "the animation window closed"; fi
  xdotool key Return; sleep 1                  # Ok
  shot anim-ok
  xdotool key ctrl+q; sleep 2
  if kill -0 $pid 2>/dev/null; then kill $pid; fi
  "$PROG" "$WORK/d/Escape.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  at 350 56 1; xdotool key Home Return; sleep 2  # Point 1
  shot saved
  if kill -0 $pid 2>/dev/null; then kill $pid; fi
'
echo "Pictures in $out"
