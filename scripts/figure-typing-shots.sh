#!/usr/bin/env bash
# Numbers typed key by key into the triangle and tetragon dialogs, played with
# the mouse and keyboard under Xvfb with openbox on a 1600 x 1000 screen.  A
# new drawing with one triangle and one tetragon; each recipe clicks a field,
# selects its text (Ctrl+A) and types one key at a time.  For each recipe
# NAME the picture NAME.png shows the dialog's fields after each key, two to
# a row, and after Tab (the last); NAME-picture.png the whole screen after
# Tab.
#   tr-x1-fraction    vertex 1 X of the free triangle: Backspace, 100,75
#   tr-y3-minus       vertex 3 Y: Backspace, -40
#   tr-angle-fraction angle 1: 33,3333 (the vertices are kept to the
#                     thousandth: a tip tells the angle they give)
#   tr-iso-x2         the triangle made isosceles, vertex 2 X: 300 (vertex 3
#                     follows when the number is done, with a tip)
#   tr-iso-y1-flat    vertex 1 Y: -140 puts the three vertices on one line:
#                     refused with a tip
#   tr-iso-height0    the height 0: refused with a tip
#   tr-iso-angle      the base angle 89,9999999: refused with a tip
#   tr-iso-side       side 2 typed 50, less than half the base: refused
#   kv-square-x1      the tetragon made a square, vertex 1 X: -20
#   kv-trap-angle     a trapezium, angle 1 typed 20 (not beyond the diagonal)
#   kv-par-height0    a parallelogram, the height 0
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/figure-typing-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/figure-typing "$@"
play '
  # The vertex rows and the type of the dialog after a key.
  step() { sleep 0.5; import -window root -crop 440x330+0+190 "$WORK/step-$1.png"; }
  # recipe NAME X Y KEY...: a click into the field at (X, Y), Ctrl+A, the keys
  # one by one, then Tab.
  recipe() {
    local name=$1 x=$2 y=$3 n=0; shift 3
    rm -f "$WORK"/step-*.png
    at "$x" "$y" 0.4; xdotool key ctrl+a; sleep 0.3
    for k in "$@"; do xdotool key "$k"; n=$((n + 1)); step "$(printf %02d $n)"; done
    xdotool key Tab; step zz
    montage "$WORK"/step-*.png -tile 2x -geometry +4+4 "$OUT/$name.png"
    sleep 1; import -window root "$OUT/$name-picture.png"
  }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 12
  # A new drawing with a triangle and a tetragon; the project options as
  # they are.
  at 18 56 2; at 598 468; at 598 498; at 892 624 3; at 901 657 5; shot triangle

  recipe tr-x1-fraction 115 253 BackSpace 1 0 0 comma 7 5
  recipe tr-y3-minus 211 302 BackSpace minus 4 0
  recipe tr-angle-fraction 123 325 BackSpace 3 3 comma 3 3 3 3
  at 189 440 2                    # Равнобедренный
  recipe tr-iso-x2 115 278 BackSpace 3 0 0
  recipe tr-iso-y1-flat 211 253 BackSpace minus 1 4 0
  recipe tr-iso-height0 236 502 BackSpace 0
  recipe tr-iso-angle 123 325 8 9 comma 9 9 9 9 9 9 9
  recipe tr-iso-side 365 348 BackSpace 5 0

  at 354 56 1.5; at 306 78 2      # the object list: Tetragon 1
  shot tetragon
  at 43 439 2                     # Квадрат
  recipe kv-square-x1 107 253 BackSpace minus 2 0
  at 173 459 2                    # Трапеция
  recipe kv-trap-angle 113 302 BackSpace 2 0
  at 43 459 2                     # Параллелограмм
  recipe kv-par-height0 288 521 BackSpace 0

  xdotool key ctrl+q; sleep 2; shot closing
  at 811 508 3                    # "Нет": the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
