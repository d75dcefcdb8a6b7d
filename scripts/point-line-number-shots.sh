#!/usr/bin/env bash
# Numbers typed one key at a time into the point and segment dialogs, as a
# user types them, under Xvfb with a window manager (openbox) on a 1600 x 1000
# screen, with xdotool.  A new drawing with a point, a segment, a 2D and a 3D
# coordinate system; each recipe leaves a strip NAME-keys.png (the field after
# each key) and NAME-left.png (the dialog once the field is left, with its
# tip):
#   new-count-max  a count above its bound in the new project: refused, a tip
#   point-x        the point's picture X: select all, Backspace, -250
#   label-distance the point's label distance 12,75 (a whole number)
#   point-xx       the point's 3D X 0,1234 (kept to 0,123 when left)
#   end-x          the segment's end 2 X: Backspace, -30
#   gap            the segment's gap 1,5 (a whole number)
#   angle, length  the segment's angle -45; its length 0 (refused)
#   fraction       the division point 3: Backspace
#   arrow-length, arrow-angle  end 2's arrow: 500 (at most 400), -30
#   xy-x           2D system, "Ось X": end 2's X 545
#   xy-y           2D system, "Ось Y": end 2's Y 7 (end 1 moves when left)
#   xy-end         the same axis's end 2 in the point dialog: Y 645, then 3
#   xz-y           3D system, "Ось Y": end 2's X 1050
# The program ends by Ctrl+Q; the script says whether it did.
# Usage: bash scripts/point-line-number-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/point-line-numbers "$@"
play '
  ended() { if kill -0 "$1" 2>/dev/null; then echo "$2: the program runs on"; kill "$1"; else echo "$2: the program ended"; fi; }
  crop() { import -window root -crop "$2" +repage "$OUT/$1.png"; }
  # KEYS typed one at a time into the field at X Y (b is Backspace), the
  # field cropped (REGION) after each; then Tab and the dialog with its tip.
  keys() {
    local name=$1 x=$2 y=$3 region=$4 k=$5 i parts=()
    at "$x" "$y" 0.3; xdotool key ctrl+a
    for ((i = 0; i < ${#k}; i++)); do
      case "${k:i:1}" in b) xdotool key BackSpace ;; -) xdotool key minus ;; ,) xdotool key comma ;; *) xdotool key "${k:i:1}" ;; esac
      sleep 0.6; crop "$name-$i" "$region"; parts+=("$OUT/$name-$i.png")
    done
    convert "${parts[@]}" -append "$OUT/$name-keys.png"; rm -f "${parts[@]}"
    xdotool key Tab; sleep 0.4; crop "$name-left" 1000x620+0+70
  }
  pick() {                                     # the object list: item N (from 0)
    at 355 56 1; xdotool key Home
    for ((n = 0; n < $1; n++)); do xdotool key Down; done
    xdotool key Return; sleep 3
  }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 12
  at 18 56 3                                   # New: a point, a segment, a 2D and a 3D system
  for p in "598 381" "598 410" "598 526" "822 584"; do at $p 0.6; done
  shot new-counts
  at 940 585 0.3; xdotool key ctrl+a; xdotool key 5; sleep 0.6   # 5 drawings of 3D systems: at most 2
  shot new-count-max
  at 892 625 3; at 901 657 4                   # Ok, project options Ok: the point dialog
  field 136 226 150                            # the picture X as in the recipe
  keys point-x 136 226 400x30+0+212 b-250
  keys label-distance 140 480 400x30+0+466 12,75
  keys point-xx 92 250 400x26+0+238 0,1234
  pick 1                                      # Line 1: the segment dialog
  keys end-x 313 379 230x26+230+366 b-30
  at 228 294 1; at 100 316 2                   # dashed
  keys gap 378 318 450x26+0+305 1,5
  keys angle 141 249 450x26+0+236 b-45
  field 352 249 100
  keys length 352 249 450x26+0+236 0
  at 32 528 1; field 89 528 0,5                # division point 3 on, at 0,5
  keys fraction 89 528 450x26+0+515 b
  at 352 427 1                                 # an arrow at end 2: its length and angle
  keys arrow-length 313 452 450x26+0+439 500
  keys arrow-angle 405 452 450x26+0+439 -30
  pick 2                                       # XOY 1
  at 379 255 3                                 # "Ось X": the axis in the segment dialog
  field 313 379 440
  keys xy-x 313 379 1000x460+0+340 545
  pick 2; at 379 278 3                         # "Ось Y"
  field 405 379 645
  keys xy-y 405 379 1000x460+0+340 7
  at 335 475 3                                 # its end 2 in the point dialog
  field 323 226 645                            # the axis up again
  keys xy-end 323 226 1000x460+0+120 3
  pick 3                                       # XYZ 1
  at 297 268 3                                 # "Ось Y"
  field 313 379 990
  keys xz-y 313 379 1000x640+0+120 1050
  xdotool key ctrl+q; sleep 2; shot quit
  at 811 508 3                                 # the drawing is not saved
  ended $pid "at the end"
'
echo "Pictures in $out"
