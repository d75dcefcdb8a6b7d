#!/usr/bin/env bash
# Numbers typed key by key into the project options and the transformations
# window, as a user types them, under Xvfb with openbox on a 1600 x 1000
# screen (a drawing of 800 x 600 pixels at 96 dpi, A4, margins 0):
#   print-typing.png    the paper width "21,04" while it is typed
#   print-width.png     ... left: 21 cm kept, with a tip
#   print-margin.png    the top margin "0,55" left: 0,6 cm, with a tip
#   print-minus.png     a minus typed into the margin: refused with a tip
#   print-empty.png     the paper height emptied: it stays empty
#   print-height.png    ... left: 29,7 cm stay, with a tip
#   print-huge.png      a paper width of 10^8 cm: 21 cm stay, the tip names
#                       the sides a page can have (0,1 to 508 cm)
#   print-margin-past.png  a top margin of 30 cm, below the page: 1 cm stays,
#                       the tip names the margins inside the page
#   reopened.png        OK, and the options opened again: what was kept
#   picture-cm.png      1 cm typed as the width: 38 pixels, 1,005 cm, a tip
#   picture-typing.png  "12,7" on the way to 12,75 pixels: as typed
#   picture-px.png      ... left: 13 pixels, with a tip
#   picture-empty.png   the height in centimetres emptied: empty while typed
#   picture-empty-left.png  ... left: 1 cm, 38 pixels, with a tip
#   trans-minus.png     "5-" in the translation's X: the minus refused, a tip
#   trans-left.png      ... "53" left
# The program ends by Ctrl+Q, the drawing not saved; the script says whether
# it did.
# Usage: bash scripts/number-options-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/number-options "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  keys() { for k in "$@"; do xdotool key --delay 150 "$k"; done; }
  # A click at a place of the project options, from where the dialog stands.
  opt() {
    eval "$(xdotool search --onlyvisible --name "Опции проекта" getwindowgeometry --shell | head -n 3)"
    at $((X + $1)) $((Y + $2)) "${3:-0.3}"
  }
  # The options twice (the second after OK), then "No" to the question at the end.
  PELMAR_TEST_SCRIPT="MeOptProj MeOptProj No" "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  opt 292 4 1                                     # Печать
  opt 194 65; xdotool key ctrl+a
  keys 2 1 comma 0; shot print-typing
  keys 4 Tab; shot print-width
  opt 194 213; xdotool key ctrl+a; keys 0 comma 5 5 Tab; shot print-margin
  opt 194 213; xdotool key ctrl+a; keys minus; shot print-minus
  keys 1 Tab
  opt 194 92; xdotool key ctrl+a; keys BackSpace; shot print-empty
  keys Tab; shot print-height
  opt 194 65; xdotool key ctrl+a; keys 1 0 0 0 0 0 0 0 0 Tab; shot print-huge
  opt 194 213; xdotool key ctrl+a; keys 3 0 Tab; shot print-margin-past
  opt 340 338 2                                   # Ok; the options open again
  shot reopened
  opt 64 4 1                                      # Изображение
  opt 265 37; xdotool key ctrl+a; keys 1 Tab; shot picture-cm
  opt 113 37; xdotool key ctrl+a; keys 1 2 comma 7; shot picture-typing
  keys 5 Tab; shot picture-px
  opt 265 66; xdotool key ctrl+a; keys BackSpace; shot picture-empty
  keys Tab; shot picture-empty-left
  opt 340 338 2                                   # Ok
  at 53 829 1                                    # the transformations: Перенос
  at 70 918; xdotool key ctrl+a; keys 5 minus; shot trans-minus
  keys 3 Tab; shot trans-left
  xdotool key ctrl+q; sleep 3
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
