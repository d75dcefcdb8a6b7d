#!/usr/bin/env bash
# A short lesson played with the mouse and keyboard under Xvfb with a window
# manager (openbox), on a 1600 x 1000 screen, with xdotool and xclip:
#   title.png     "Урок π" typed as the project's title: π refused, named
#   name-pi.png   "π" typed into the point's name: refused, named
#   name-paste.png  "A′" pasted from another program's clipboard: ′ refused
#   filled.png    the triangle filled, built with ▶
#   pasted.png    a copy pasted, moved by its vertices, built with ▶: filled
#   deleted.png   the first triangle deleted, built with ▶: no shading left
#   reopened.png  saved maximised into a folder "Übungen", the program ended
#                 and started again with the document: maximised, filled
#   recent.png    the File menu after the restart: the recent file is kept
#   paste.png     the Edit menu after the restart: Paste is enabled
# The program ends by its close box; the script says whether it did.
# Usage: bash scripts/lesson-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/lesson "$@"
mkdir -p "$work/Übungen"
play '
  build() { at 553 56 4; }        # ▶
  combo() { at 355 56 0.7; xdotool key "$1" Return; sleep 1.5; }  # the object list
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                      # New: points and triangles
  at 598 381 0.5; at 598 469 0.5; at 892 625 2
  at 994 323 1                    # the Info page of the picture settings
  at 834 356 0.3; xdotool type --delay 120 "Урок π"; shot title
  xdotool key Return; sleep 0.5
  at 901 658 3                    # Ok: the point dialog opens
  at 234 378 0.3; xdotool key ctrl+a; xdotool type --delay 150 "π"; shot name-pi
  xdotool key Return; sleep 0.5
  printf "A′" | xclip -selection clipboard
  at 234 378 0.3; xdotool key ctrl+a ctrl+v; shot name-paste
  xdotool key Return; sleep 0.5
  combo Down                      # Triangle 1
  at 320 593 1.5; at 137 287 0.7; at 218 404 1   # its fill on
  build; shot filled
  at 141 27 0.7; at 180 95 1.5; at 809 559 1     # Edit > Copy, Yes
  at 141 27 0.7; at 180 117 3                    # Edit > Paste
  field 115 255 250; field 211 255 300; field 115 278 420; field 211 278 300; field 115 302 330; field 211 302 420
  build; shot pasted
  combo Up                        # Triangle 1 again
  at 1494 56 1.5; at 809 556 2    # Delete, Yes
  build; shot deleted
  at 1576 88 1.5                  # the picture window maximised
  at 115 56 2                     # Save As, into "Übungen"
  printf "%s" "$WORK/Übungen/урок.pel" | xclip -selection clipboard
  at 795 642 0.3; xdotool key ctrl+a ctrl+v Return; sleep 3
  xdotool key ctrl+q; sleep 3
  "$PROG" "$WORK/Übungen/урок.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 9
  shot reopened
  at 25 27 1; shot recent; xdotool key Escape
  at 141 27 1; shot paste; xdotool key Escape
  at 1590 8 4                     # the close box
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
