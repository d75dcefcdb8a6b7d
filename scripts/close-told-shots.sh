#!/usr/bin/env bash
# The title-bar close after a number refused, and a window session that ends
# as it began, played with the mouse and keyboard under Xvfb with openbox on a
# 1600 x 1000 screen:
#   fill-set.png        a saved drawing opened, Project options > Заливка >
#                       Заливка: the light set to Вектор and the angle to 180
#   fill-back.png       ... both set back to Точечный and 90
#   fill-closed.png     Ok, and the options closed by Ok: Save and Undo stay off
#   sections-typed.png  a new drawing with XYZ 1, Декартов 1 on, its sections:
#                       1000001 typed key by key into the first position
#   sections-close.png  ... the title-bar close: the window stays open on the
#                       position, with the tip naming the range
#   sections-again.png  the close again closes it; the sections opened again:
#                       the position as before the typing
# The script says whether Exit asked after the fill settings, and whether the
# sections window stayed open after its first close.
# Usage: bash scripts/close-told-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/close-told "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  # A click on the title-bar close of the window named $1.
  closebox() {
    eval "$(xdotool search --onlyvisible --name "$1" getwindowgeometry --shell | head -n 5)"
    at $((X + WIDTH - 12)) $((Y - 31)) "${2:-0.5}"
  }
  open() {
    if xdotool search --onlyvisible --name "$2" >/dev/null 2>&1; then echo "$1: the window stays open"
    else echo "$1: the window closed"; fi
  }
  fill() { inside "Опции проекта: Заливка" "$@"; }

  # 1. The fill settings set and set back, then Exit.
  "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  at 199 27 1; at 229 71 2        # Опции > Проекта
  opt 364 4 1                     # Заливка
  opt 60 36 2                     # the fill settings
  fill 37 77 0.5; fill 330 77 0.5; shot fill-set     # Вектор, 180
  fill 37 57 0.5; fill 330 57 0.5; shot fill-back    # Точечный, 90
  fill 480 357 2; shot fill-closed                   # Ok
  xdotool key ctrl+q; sleep 3
  if xdotool search --onlyvisible --name "^Pelmar$" >/dev/null 2>&1; then
    echo "Exit asked"; shot fill-asked; at 811 508 3
  else echo "Exit did not ask"; fi
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi

  # 2. The sections of a new 3D system.
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  at 18 56 2                      # New: XYZ
  np 253 233; np 323 273 3
  opt 340 338 4
  at 226 112 1; at 33 161 2       # XYZ - Графики, Декартов 1 on
  at 274 188 2                    # Сеч.
  at 123 165 0.3; xdotool key ctrl+a
  keys 1 0 0 0 0 0 1; shot sections-typed
  closebox "Сечени"; shot sections-close
  open "1000001, the title-bar close" "Сечени"
  closebox "Сечени" 2
  open "the close again" "Сечени"
  at 274 188 2; shot sections-again
  closebox "Сечени" 2
  xdotool key ctrl+q; no
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
