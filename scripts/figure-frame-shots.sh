#!/usr/bin/env bash
# A lesson's frames, typed figures and bounded numbers, played with the mouse
# and keyboard under Xvfb with openbox on a 1600 x 1000 screen:
#   triangle.png      a new drawing (800 x 800) with Triangle 1 typed as
#                     A(150; 400), B(550; 400), C(250; 650), both circles on
#   formula.png       vertex C's animation formula: Y (3D; the picture's X)
#                     "100+40*x"
#   anim.png          the drawing saved as lesson.pel, Анимация with 11 frames
#                     built: the message under the numbers
#   frame-00.png, frame-05.png, frame-10.png  frames 0, 5 and 10 of the GIF
#                     written beside the drawing (C at X 100, 300 and 500)
#   frames.png        the eleven frames side by side
#   still-00.png, still-05.png, still-10.png  the picture (800 x 800) with C
#                     typed as the frame has it: what the frame should draw
#   frame-00-vs-still.png, ...  the frame over the still, red where they
#                     differ (the count of such pixels is printed)
#   trapezium.png     a new drawing (1000 x 700) with Tetragon 1, type
#                     Трапеция, the vertices typed field by field with Tab as
#                     (680; 30), (860; 30), (810; 150): Длина 2, Угол 2, H
#   trapezium-vertex3.png  its side 3: where vertex 3 is stored
#   parallelogram.png  then Параллелограмм, (100; 100), (220; 100),
#                     (900; 140) typed the same way: H
#   parallelogram-vertex3.png  its side 3: where vertex 3 is stored
#   sections-typed.png  a new drawing with XYZ 1, Декартов 1 on, its sections:
#                     1000001 typed key by key into the first position
#   sections-tip.png  ... Tab: the tip
#   sections-reopened.png  Ok, and the sections opened again: what was stored
#   print-margin.png  Project options > Печать: the top margin 40 cm, more
#                     than the page's height, and Tab
#   print-height.png  the paper height 1000000 cm and Tab
#   print-width.png   the paper width 100000000 cm and Tab
#   print-reopened.png  Ok, and the options opened again on Печать
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/figure-frame-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/figure-frames "$@"
play '
  # The 800 x 800 picture as it stands on the screen.
  picture() { sleep 1.5; import -window root -crop 800x800+458+139 +repage "$OUT/$1.png"; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10

  # 1. The triangle with its circles, C moved by the animation.
  at 18 56 2                      # New: triangles
  np 29 117; np 323 273 3
  opt 113 37; xdotool key ctrl+a; xdotool type 800
  opt 113 66; xdotool key ctrl+a; xdotool type 800; xdotool key Tab
  opt 340 338 4                   # Ok: the triangle dialog opens
  field 115 253 150; field 211 253 400; field 115 278 550; field 211 278 400
  field 115 302 250; field 211 302 650
  at 33 564 1; at 33 592 1        # both circles on
  shot triangle
  at 379 500 2                    # Сторона 3 (C to A)
  at 122 476 2                    # its Точка №1: C
  at 348 513 2                    # Анимация
  at 226 265 0.3; xdotool key ctrl+a; xdotool type --delay 100 "100+40*x"; shot formula
  at 316 349 2                    # Ok
  animate lesson 400x400          # saved as lesson.pel, 11 frames built
  # The stills: C typed where frames 0, 5 and 10 put it.
  for n in 00:100 05:300 10:500; do
    field 136 226 "${n#*:}"; picture "still-${n%%:*}"; against "${n%%:*}"
  done

  # 2. The trapezium and the parallelogram, typed field by field.
  at 18 56 2; no                  # New: tetragons; the drawing is not saved
  np 29 147; np 323 273 3
  opt 113 37; xdotool key ctrl+a; xdotool type 1000
  opt 113 66; xdotool key ctrl+a; xdotool type 700; xdotool key Tab
  opt 340 338 4                   # Ok: the tetragon dialog opens
  at 174 459 2                    # Трапеция
  field 106 253 680; field 184 253 30; field 313 253 860; field 389 253 30
  field 106 278 810; field 184 278 150
  shot trapezium
  at 282 561 2; shot trapezium-vertex3   # Сторона 3
  at 720 56 2                     # back to the tetragon
  at 43 459 2                     # Параллелограмм
  field 106 253 100; field 184 253 100; field 313 253 220; field 389 253 100
  field 106 278 900; field 184 278 140
  shot parallelogram
  at 282 561 2; shot parallelogram-vertex3
  at 720 56 2

  # 3. The sections of the 3D system.
  at 18 56 2; no                  # New: XYZ
  np 253 233; np 323 273 3
  opt 340 338 4
  at 226 112 1; at 33 161 2       # XYZ - Графики, Декартов 1 on
  at 274 188 2                    # Сеч.
  at 123 165 0.3; xdotool key ctrl+a
  keys 1 0 0 0 0 0 1; shot sections-typed
  keys Tab; shot sections-tip
  at 218 472 2                    # Ok
  at 274 188 2; shot sections-reopened
  at 218 472 2

  # 4. Project options > Печать.
  at 199 27 1; at 229 71 2        # Опции > Проекта
  opt 292 4 1                     # Печать
  opt 194 214; xdotool key ctrl+a; keys 4 0 Tab; shot print-margin
  opt 194 92; xdotool key ctrl+a; keys 1 0 0 0 0 0 0 Tab; shot print-height
  opt 194 65; xdotool key ctrl+a; keys 1 0 0 0 0 0 0 0 0 Tab; shot print-width
  opt 340 338 2                   # Ok
  at 199 27 1; at 229 71 2; opt 292 4 1; shot print-reopened
  opt 420 338 1                   # Отмена

  xdotool key ctrl+q; no          # the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
