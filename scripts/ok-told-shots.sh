#!/usr/bin/env bash
# OK clicked with the mouse after a number the field refuses, in the project
# options, under Xvfb with openbox on a 1600 x 1000 screen (a drawing of
# 800 x 600 pixels at 96 dpi, A4, margins 0):
#   print-typed.png     Печать: the paper width 1000001 typed, no Tab
#   print-ok.png        ... OK clicked: the options stay open on the width,
#                       21 cm kept, the tip naming the sides a page can have
#   print-margin.png    the top margin 30 typed, OK clicked: the options stay
#                       open on the margin, with its tip
#   print-reopened.png  OK again closes them; opened again: 21 cm and 0 cm
#   point-close.png     a new point; 3000000000 typed into its X, then the
#                       dialog's title-bar close: it stays open on X, the tip
#                       naming the range, X 100 kept
# The script says whether the options and the point dialog stayed open, and
# whether the program ended by Ctrl+Q (the drawing not saved).
# Usage: bash scripts/ok-told-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/ok-told "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  opt() { inside "Опции проекта" "$@"; }
  open() {
    if xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1; then echo "$1: the window stays open"
    else echo "$1: the window closed"; fi
  }
  # The options twice (the second after OK), a new point, then "No" to the
  # question at the end.
  PELMAR_TEST_SCRIPT="MeOptProj MeOptProj MeNewPo No" "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  opt 292 4 1                                     # Печать
  opt 194 65; xdotool key ctrl+a; keys 1 0 0 0 0 0 1; shot print-typed
  opt 340 338 0.5; shot print-ok                  # Ok
  open "the width 1000001, OK" "Опции проекта"
  opt 194 213; xdotool key ctrl+a; keys 3 0
  opt 340 338 0.5; shot print-margin              # Ok
  open "the margin 30, OK" "Опции проекта"
  opt 340 338 3                                   # Ok again; the options open again
  opt 292 4 1; shot print-reopened
  opt 340 338 3                                   # Ok; the point dialog opens
  at 135 226 0.3; xdotool key ctrl+a; keys 3 0 0 0 0 0 0 0 0 0
  at 387 85 0.5; shot point-close                 # the title-bar close
  open "a point X of 3000000000, closed" "Точка"
  at 387 85 1                                     # closed again
  xdotool key ctrl+q; sleep 3
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
