#!/usr/bin/env bash
# Numbers and formulas typed key by key into the coordinate systems' windows,
# played with the mouse and keyboard under Xvfb with openbox on a 1600 x 1000
# screen, on a new drawing (900 x 700) with a 2D and a 3D system:
#   xy-scale-empty.png     2D scale X emptied: the field stays empty
#   xy-scale-zero.png      then 0 and Tab: refused with a tip, 20 shown
#   xy-division-zero.png   division length Y "0,0" and Tab: refused, 1 shown
#   xy-equation.png        implicit graph "x^2+y^2=9" and Tab: kept as typed,
#                          the tip names x^2+y^2-9
#   xy-circle.png          x^2+y^2-9, the picture redrawn: the circle
#   xz-scale-zero.png      3D scale 0 and Tab: refused, 20 shown
#   xz-division-empty.png  3D division length emptied and Tab: refused, 1
#   xz-surface-equation.png  surface 1 "z=x^2+y^2": the tip names x^2+y^2
#   bounds-1.png .. bounds-4.png  a section's bound: select all, Backspace,
#                          "-", "5", Tab: "", "-", "-5", "-5"
#   sections.png           the sections after the bounds: y=[-5;7]; section 1
#                          emptied stays empty (off), section 2 "-4," shows -4
#   sections-past.png      section 3 typed 1000001 key by key and Tab: refused
#                          with the bound's tip, the row empty (off) again
#   outline-typing.png     the outline's x1 typed 150: the frame waits
#   outline-left.png       x1 left: the frame moves, one commit
#   outline-step-zero.png  step 1 typed 0: 1, with a tip
#   angle-empty.png, angle-left.png  the rotation angle emptied: "" while
#                          typed in, 0 once left
#   shift-typing.png, shift-left.png  the shift X "3,": "3," then 3
#   step-empty.png, step-left.png  the parametric curve's step emptied: ""
#                          while typed in, 0,0001 with a tip once left
#   parameter-t.png        "5*sin(t)" in the parametric curve: its variable is x
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/coord-number-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/coord-numbers "$@"
play '
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  keys() { for k in "$@"; do xdotool key "$k"; sleep 0.4; done; }
  pick() { at "$1" "$2" 0.3; xdotool key ctrl+a; }

  # A new drawing with a 2D and a 3D system, 900 x 700 pixels.
  at 18 56 2
  at 597 526 0.5; at 822 584 0.5; at 892 624 3
  pick 680 356; xdotool type 900; pick 680 385; xdotool type 700; xdotool key Tab
  at 901 657 4

  # The 2D system: scales and division lengths.
  pick 111 273; keys BackSpace; shot xy-scale-empty
  keys 0 Tab; shot xy-scale-zero
  pick 210 424; keys 0 comma 0 Tab; shot xy-division-zero
  # Its implicit graph, on, typed as an equation, then as a formula.
  at 226 112 1; at 33 460 1
  pick 204 460; keys x asciicircum 2 plus y asciicircum 2 equal 9 Tab; shot xy-equation
  pick 204 460; keys x asciicircum 2 plus y asciicircum 2 minus 9 Return
  at 553 56 4; shot xy-circle

  # The 3D system.
  at 353 56 1; at 300 78 2
  pick 137 273; keys 0 Tab; shot xz-scale-zero
  pick 267 343; keys BackSpace Tab; shot xz-division-empty
  at 226 112 1; at 33 161 2
  pick 209 161; keys z equal x asciicircum 2 plus y asciicircum 2 Tab; shot xz-surface-equation
  pick 209 161; keys x asciicircum 2 plus y asciicircum 2 Return

  # The sections of surface 1, the bounds of section 1.
  at 274 188 2; at 258 165 2
  pick 184 247
  n=0
  for k in BackSpace minus 5 Tab; do xdotool key $k; n=$((n + 1)); shot bounds-$n; done
  at 218 302 1.5
  pick 123 165; keys BackSpace Tab
  pick 123 193; keys minus 4 comma Tab; shot sections
  pick 123 221; keys 1 0 0 0 0 0 1 Tab; shot sections-past
  at 218 472 2

  # The outline of surface 1.
  at 366 188 2
  pick 96 204; keys 1 5 0; shot outline-typing
  keys Tab; shot outline-left
  pick 96 320; keys 0 Tab; shot outline-step-zero
  at 256 411 2

  # The options of surface 1: the rotation angle and the shift.
  at 366 161 2; at 213 102 1
  at 35 161 0.5
  pick 336 162; keys 3 0 Tab
  pick 336 162; keys BackSpace; shot angle-empty
  keys Tab; shot angle-left
  at 35 364 0.5
  pick 116 392; keys 3 comma; shot shift-typing
  keys Tab; shot shift-left
  at 35 161 0.5; at 35 364 0.5
  at 488 490 2

  # The parametric curve: its step, and a formula in "t".
  at 33 321 1.5; at 366 321 2; at 116 102 1
  pick 159 382; keys BackSpace; shot step-empty
  keys Tab; shot step-left
  pick 159 382; keys 0 comma 0 0 5 Tab
  at 488 490 2
  pick 209 347; keys 5 asterisk s i n parenleft t parenright Tab; shot parameter-t

  xdotool key ctrl+q; sleep 2; shot closing
  at 810 508 3                    # "Нет": the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
