#!/usr/bin/env bash
# A lesson with a named circumcentre and a filled ellipse, played with the
# mouse and keyboard under Xvfb with a window manager (openbox), on a
# 1600 x 1000 screen, with xdotool and xclip:
#   filled.png      a triangle and a filled circle, built with ▶
#   arc.png         the circle's arc end set to 250, then its start to 30,
#                   built with ▶: the fill is the new sector
#   tilt.png        made an ellipse (semi-axis 45) tilted by 20, built with ▶
#   circumcentre.png  a new point linked to Triangle 1 > Circle Opi > Point
#                   Center, named "O" with upper index "1", built with ▶
#   typed.png       " aüb cd" typed into the name: ü refused in a tip, the
#                   keys after it kept
#   pasted.png      "O" and a line break pasted into the name: "O"
#   export.png      the picture exported as PNG
#   side-folder.png, side-pipe.png  the program started with its settings'
#                   side file "Pelmar.set.paths" as a folder, as a named pipe:
#                   it says that it cannot read it and keeps no settings
# Each run of the program ends by its close box or Ctrl+Q; the script says
# whether it did.
# Usage: bash scripts/linked-point-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/linked-point "$@"
play '
  build() { at 553 56 3; }        # ▶
  ended() { if kill -0 "$1" 2>/dev/null; then echo "$2: the program runs on"; kill "$1"; else echo "$2: the program ended"; fi; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                      # New: ellipses and triangles
  at 598 439 0.5; at 598 468 0.5; at 892 625 2
  at 901 658 3                    # Project options: Ok; the ellipse dialog opens
  at 378 619 1.5; at 135 287 0.5; at 217 403 1   # its fill on
  build; shot filled
  field 368 539 250; field 176 539 30            # arc end, then start
  build; shot arc
  field 270 270 45; field 165 295 20             # second semi-axis, tilt
  build; shot tilt
  at 1046 56 2                    # New point: the link dialog
  at 546 494 1; at 530 539 1      # Triangle 1
  at 672 494 1; at 649 671 1      # its circumscribed circle
  at 797 494 1; at 783 495 1      # its centre
  at 896 534 3                    # Ok: the point dialog opens
  field 234 378 O; field 180 403 1
  build; shot circumcentre
  at 234 378 0.3; xdotool key ctrl+a; xdotool type --delay 120 " aüb cd"; shot typed
  printf "O\n" | xclip -selection clipboard
  at 234 378 0.3; xdotool key ctrl+a ctrl+v Tab; build; shot pasted
  at 179 56 2                     # Save picture: PNG
  at 790 671 1; at 707 737 1
  at 795 642 0.3; xdotool key ctrl+a; xdotool type "$WORK/export"; xdotool key Return; sleep 3
  cp "$WORK/export.png" "$OUT/export.png" 2>/dev/null || echo "no PNG was written"
  at 1590 9 2; at 811 508 3       # the close box; the drawing is not saved
  ended $pid "after the lesson"
  side="$XDG_DATA_HOME/pelmar/Pelmar.set.paths"
  rm -rf "$side"; mkdir -p "$side/sub"
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8; shot side-folder
  xdotool key Return; sleep 1; xdotool key ctrl+q; sleep 3
  ended $pid "side file a folder"
  rm -rf "$side"; mkfifo "$side"
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8; shot side-pipe
  xdotool key Return; sleep 1; at 1590 9 3
  ended $pid "side file a named pipe"
  [ -p "$side" ] && echo "the named pipe is still there" || echo "the named pipe is GONE"
'
echo "Pictures in $out"
