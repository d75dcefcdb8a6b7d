#!/usr/bin/env bash
# Drawings at the edges of what a document holds, opened in the program under
# Xvfb with openbox on a 1600 x 1000 screen; each must be drawn without the
# program stalling, and Ctrl+Q must end it:
#   dash-arc.png   an ellipse (the shipped default set) in the mixed view,
#                  arc 0..360, dash arc from 1e20 to 1e20
#   far-arc.png    the same with arc 1e20..1e20 and dash arc 0..100
#   turned.png     a 2D system (the shipped default set) with graph 2 "1"
#                  over [-5, 5], turned by 56 degrees, X scale 10^7
#   *-redrawn.png  the same after the picture window is resized (a redraw)
# For each the script says how long the program took to answer and whether
# it ended.  The documents are the default sets with these numbers written
# into them, as a file can hold numbers no dialog takes.
# Usage: bash scripts/far-walks-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/far-walks "$@"
mkdir -p "$work/d"
# Lines (counted from 1) of a default set replaced by new texts.
edit() {   # edit SOURCE TARGET LINE=TEXT ...
  python3 - "$@" <<'PY'
import sys
src, dst, *edits = sys.argv[1:]
lines = open(src, 'rb').read().split(b'\r\n')
for e in edits:
    n, text = e.split('=', 1)
    lines[int(n) - 1] = text.encode('cp1251').replace(b'<true>', b'\xe8')
open(dst, 'wb').write(b'\r\n'.join(lines))
PY
}
circle=share/pelmar/DefaultSet/DeCircle.set
# The ellipse block: the view at line 562, then arc 1, arc 2, dash arc 1, 2.
edit "$circle" "$work/d/dash-arc.pel" 562=4 563=0 564=360 565=1E20 566=1E20
edit "$circle" "$work/d/far-arc.pel" 562=4 563=1E20 564=1E20 565=0 566=100
# The 2D system: X scale at line 392; graph 2 on at 435 with its formula at
# 436, its bounds at 443..446 and its turn (flag, angle) at 451 and 452.
edit share/pelmar/DefaultSet/DeXOY.set "$work/d/turned.pel" 392=10000000 435=1 436=1 443=-5 444=5 445=-5 446=5 \
  451='<true>' 452=56
play '
  for name in dash-arc far-arc turned; do
    start=$(date +%s.%N)
    "$PROG" "$WORK/d/$name.pel" >/dev/null 2>&1 &
    pid=$!
    # The program answers once its main window is shown and takes a key.
    for i in $(seq 120); do xdotool search --onlyvisible --name "Pelmar" >/dev/null 2>&1 && break; sleep 0.5; done
    sleep 4
    shot "$name"
    window=$(xdotool search --onlyvisible --name "Pelmar" 2>/dev/null | head -n 1)
    xdotool windowsize "$window" 1200 800; sleep 3
    shot "$name-redrawn"
    echo "$name: shown and redrawn after $(echo "$(date +%s.%N) - $start" | bc) s"
    xdotool key ctrl+q; sleep 2
    # A question whether to save: "Нет".
    kill -0 $pid 2>/dev/null && { at 811 508 3; }
    for i in $(seq 20); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
    if kill -0 $pid 2>/dev/null; then echo "$name: the program runs on"; kill -9 $pid; else echo "$name: the program ended"; fi
  done
'
echo "Pictures in $out"
