#!/usr/bin/env bash
# The texts of a lesson, played with the mouse and keyboard under Xvfb with a
# window manager (openbox), on a 1600 x 1000 screen, with xdotool and xclip:
#   notes.png       five lines pasted into the notes of a new project: the
#                   box keeps the first three, a tip says the rest was not
#                   taken (the file then holds those three)
#   symbol.png      the lesson reopened with its point named in "Symbol" with
#                   the codes of "a©®¬" and a 26-letter ID: the name field and
#                   the red caption show α♥→← as the label draws them, the ID whole
#   refused.png     "b" and "§" typed at the end of the name: β taken, §
#                   refused in a tip above the field that covers no control
#   roundtrip.png   the name copied, deleted, pasted back, undone twice and
#                   redone twice: the same signs, the same codes
#   selection.png   "Übungen" typed over the selected upper index
#                   "A B C D E F", then "Ü" over the selected "bungen": the
#                   selection stays, the tip stands where no control is
#   below.png       a click on the font size under the index and "20" typed:
#                   the size takes the keys
#   id.png          a letter typed at the end of the ID: cut to 15, told
# The script prints the name's bytes in the saved file (a A9 AE AC b), and
# whether the program ended at Ctrl+Q.
# Usage: bash scripts/texts-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/texts "$@"
play '
  crop() { sleep 1.2; import -window root -crop 700x560+0+60 "$OUT/$1.png"; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                      # New: one point
  at 598 381 0.5; at 893 625 3    # Ok: the project options
  at 994 323 1                    # their Info page
  printf "P1\nP2\nP3\nP4\nP5" | xclip -selection clipboard
  at 834 518 0.5; xdotool key ctrl+v; shot notes
  at 901 657 3                    # Ok: the point dialog opens
  at 114 56 2                     # Save as
  xdotool type --delay 30 "$WORK/lesson.pel"; xdotool key Return; sleep 2
  iconv -f cp1251 -t utf-8 "$WORK/lesson.pel" | sed -n 46,48p | tr "\r\n" "  "; echo "(the notes in the file)"
  # The point as a document made on Windows has it: its name in Symbol, a long ID.
  iconv -f cp1251 -t utf-8 "$WORK/lesson.pel" |
    awk "NR==55{print \"Pyramid apex of the lesson\r\"; next} NR==67{print \"a©®¬\r\"; next} NR==68{print \"Symbol\r\"; next} {print}" |
    iconv -f utf-8 -t cp1251 > "$WORK/symbol.pel"
  at 50 56 2                      # Open
  xdotool type --delay 30 "$WORK/symbol.pel"; xdotool key Return; sleep 3
  crop symbol
  at 300 378 0.3; xdotool key End; xdotool type --delay 150 "b§"; crop refused
  at 300 378 0.3; xdotool key ctrl+a ctrl+c Delete ctrl+v ctrl+z ctrl+z ctrl+y ctrl+y; crop roundtrip
  at 178 402 0.3; xdotool key ctrl+a; xdotool type --delay 80 "A B C D E F"
  xdotool key ctrl+a; xdotool type --delay 200 "Übungen"
  xdotool key ctrl+a; xdotool type --delay 200 "Ü"; crop selection
  at 350 428 0.3; xdotool key ctrl+a; xdotool type --delay 100 "20"; crop below
  at 118 147 0.3; xdotool key End; xdotool type --delay 100 "X"; crop id
  at 82 56 2                      # Save
  sed -n 67p "$WORK/symbol.pel" | od -An -tx1 | sed "s/^/the name in the file:/"
  xdotool key ctrl+q; sleep 3
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
