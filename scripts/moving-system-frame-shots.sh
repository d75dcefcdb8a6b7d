#!/usr/bin/env bash
# A 2D system moved by an animation carries its implicit graph, played with
# the mouse and keyboard under Xvfb with openbox on a 1600 x 1000 screen:
#   system.png        a new drawing (800 x 600) with XOY 1, its implicit graph
#                     x^2+y^2-4 on, drawn: the circle around O
#   formula.png       the centre's animation formula: Y (3D; the picture's X)
#                     "200+20*x"
#   anim.png          the drawing saved as moving.pel, Анимация with 11 frames
#                     built: the message under the numbers
#   frame-00.png, frame-05.png, frame-10.png  frames 0, 5 and 10 of the GIF
#                     written beside the drawing (O at X 200, 300 and 400)
#   frames.png        the eleven frames side by side
#   still-00.png, still-05.png, still-10.png  the picture with the centre's X
#                     typed as the frame has it, drawn again with ▶
#   frame-05-vs-still.png, ...  the frame over the still, red where they
#                     differ (the count of such pixels is printed)
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/moving-system-frame-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/moving-system-frames "$@"
play '
  pick() { at "$1" "$2" 0.3; xdotool key ctrl+a; }
  # The 800 x 600 picture as it stands on the screen.
  picture() { sleep 1.5; import -window root -crop 800x600+458+139 +repage "$OUT/$1.png"; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10

  # A new drawing with a 2D system, 800 x 600 pixels; its implicit graph on.
  at 18 56 2
  at 597 526 0.5; at 892 624 3
  pick 680 356; xdotool type 800; pick 680 385; xdotool type 600; xdotool key Tab
  at 901 657 4                    # Ok: the 2D system dialog opens
  at 226 112 1; at 33 460 1       # XOY - Графики: the implicit graph on
  pick 204 460; xdotool type --delay 100 "x^2+y^2-4"; xdotool key Return
  at 553 56 4; shot system        # ▶
  # The centre: its Y moves 20 pixels a frame.
  at 93 112 1; at 379 232 3       # Центр: the point dialog
  at 348 513 2                    # Анимация
  pick 225 265; xdotool type --delay 100 "200+20*x"; shot formula
  at 316 349 2                    # Ok
  animate moving 400x300          # saved as moving.pel, 11 frames built
  # The stills: the centre typed where frames 0, 5 and 10 put it.
  for n in 00:200 05:300 10:400; do
    field 136 226 "${n#*:}"
    at 553 56 4; picture "still-${n%%:*}"; against "${n%%:*}"
  done

  xdotool key ctrl+q; no          # the drawing is not saved
  sleep 2
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
