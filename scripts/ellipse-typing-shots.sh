#!/usr/bin/env bash
# Numbers typed key by key into the ellipse dialog, under Xvfb with a window
# manager (openbox) on a 1600 x 1000 screen, with xdotool:
#   end-typing.png    "150" typed into the arc end of a new circle, before it is left
#   sector.png        then "30" into the arc start, built with ▶: the sector 30°-150°
#   end-emptied.png   the start at 50, the end selected and emptied: it stays empty
#   end-150.png       "150" typed there and left: the end is 150
#   start-typing.png  the end at 0, "30" typed into the start: the field shows "30"
#   start-left.png    the start left: it shows the 0 kept, with a tip saying why
#   tilted.png        semi-axes 70 and 40, tilt 60, built with ▶
#   axis-1.png        "1" typed into the first semi-axis: nothing turns
#   axis-100.png      "100" typed and left, built with ▶: the ellipse 100 x 40, tilt 60
# The program ends by Ctrl+Q; the script says whether it did.
# Usage: bash scripts/ellipse-typing-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/ellipse-typing "$@"
play '
  build() { at 552 56 3; }                     # ▶
  keys() { for k in $(echo "$1" | grep -o .); do xdotool type --delay 0 "$k"; sleep 0.4; done; }
  select_field() { at "$1" "$2" 0.3; xdotool key ctrl+a; sleep 0.3; }
  put() { select_field "$1" "$2"; keys "$3"; xdotool key Tab; sleep 0.8; }
  A="158 270"; B="280 270"; TILT="165 294"; START="175 539"; END="368 539"
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                                   # New: one ellipse
  at 598 439 0.5; at 892 625 2
  at 901 658 3                                 # Project options: Ok; the ellipse dialog opens
  select_field $END; keys 150; shot end-typing
  xdotool key Tab; sleep 0.8
  put $START 30; build; shot sector
  put $START 50
  select_field $END; xdotool key BackSpace; sleep 0.5; shot end-emptied
  keys 150; xdotool key Tab; sleep 0.8; build; shot end-150
  put $START 0; put $END 0
  select_field $START; keys 30; shot start-typing
  xdotool key Tab; sleep 0.3; shot start-left
  put $END 360; put $START 0
  put $B 40; put $TILT 60; build; shot tilted
  select_field $A; keys 1; shot axis-1
  keys 00; xdotool key Tab; sleep 0.8; build; shot axis-100
  xdotool key ctrl+q; sleep 2; at 811 508 3    # the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
