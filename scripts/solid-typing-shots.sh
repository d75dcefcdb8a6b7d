#!/usr/bin/env bash
# Numbers typed key by key into the solids' dialogs of the real program, as a
# user types them, under Xvfb with a window manager (openbox) on a
# 1600 x 1000 screen with xdotool.  A new drawing with a sphere, a cylinder, a
# cone, both pyramids and both prisms; each shot after a key or after Tab:
#   plane-z0.png, plane-z-left.png   the sphere's section 1 "+": Z typed 0,
#                   then left: the zero normal is refused, told, Z shows 1
#   plane-x1.png    X typed 1 and left: the fields show (1, 0, 1)
#   plane-again.png the section plane opened again after Ok: (1, 0, 1)
#   plane-h.png     H typed 100 and left: the plane would miss the sphere,
#                   the update's 0 is shown and told
#   angle-1..4.png  the cylinder's section angle: emptied, "-", "-3", "-30"
#   angle-left.png  left: -30
#   radius-1..4.png the cylinder's radius: "8", "8,", "8,5", "8,55"
#   radius-left.png left: 9, with the tip that the field takes whole numbers
#   height-0.png    the cylinder's height typed 0 and left: refused, told
#   pyramid-0.png   the four-sided pyramid's height typed 0 and left: refused,
#                   told, the apex stays on side 1
#   pyramid-100.png its height typed 100 and left: the apex lifted
#   turn-30.png     "Повернуть на угол" emptied, typed -30, left, clicked
#   prism-0.png     the triangular prism's edge length typed 0 and left
#   prism-05.png    0,5 typed and left: the edge (0,096; 0,096; 0,481)
#   prism-200.png   200 typed and left: the edge (38,49; 38,49; 192,45)
#   sphere-0.png    the sphere's radius typed 0 and left: refused, told
#   sphere-x.png    its centre's X typed 150 key by key: the sphere follows
# The program ends by its close box (without saving); the script says whether
# it did.
# Usage: bash scripts/solid-typing-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/solid-typing "$@"
play '
  keys() { for k in "$@"; do xdotool key "$k"; sleep 0.4; done; }
  field() { at "$1" "$2" 0.5; keys ctrl+a; }     # a field, its text selected
  quick() { sleep 0.3; import -window root "$OUT/$1.png"; }
  choose() { at 355 56 1; keys "$@" Return; sleep 2; }   # the object list
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                      # New: every solid but the 3D system
  for y in 381 410 439 468 496 526 555; do at 822 $y 0.3; done
  at 892 624 3
  at 901 657 4                    # Project options: Ok; the sphere dialog opens

  at 127 363 2                    # section 1 "+"
  field 395 207; keys 0; quick plane-z0
  keys Tab; quick plane-z-left
  field 100 207; keys 1 Tab; quick plane-x1
  at 238 314 2                    # Ok
  at 127 363 2; quick plane-again
  field 248 275; keys 1 0 0 Tab; quick plane-h
  at 238 314 2

  choose Down                     # Cylinder 1
  field 298 366; keys BackSpace; quick angle-1
  keys minus; quick angle-2
  keys 3; quick angle-3
  keys 0; quick angle-4
  keys Tab; quick angle-left
  field 158 244; keys 8; quick radius-1
  keys comma; quick radius-2
  keys 5; quick radius-3
  keys 5; quick radius-4
  keys Tab; quick radius-left
  field 158 270; keys 0 Tab; quick height-0

  choose Down Down Down           # Pyramid4 1
  field 139 227; keys 0 Tab; quick pyramid-0
  field 139 227; keys 1 0 0 Tab; quick pyramid-100
  field 377 321; keys BackSpace minus 3 0 Tab
  at 263 321 2; quick turn-30

  choose Down                     # Prism3 1
  field 214 264; keys 0 Tab; quick prism-0
  field 214 264; keys 0 comma 5 Tab; quick prism-05
  field 214 264; keys 2 0 0 Tab; quick prism-200

  choose Up Up Up Up Up           # Orb 1
  field 124 270; keys 0 Tab; quick sphere-0
  field 121 244; keys 1 5 0 Tab; quick sphere-x

  at 1590 9 3                     # the close box; the changes are not saved
  at 811 508 3
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
