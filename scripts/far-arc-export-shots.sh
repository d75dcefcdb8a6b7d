#!/usr/bin/env bash
# An ellipse whose arc reaches far beyond a turn, exported to the word
# processor (File > Export, .odt) in the program under Xvfb with openbox on a
# 1600 x 1000 screen.  The drawing is the shipped ellipse default set in the
# vector picture mode, in the solid view, with the arc
#   0..1e20, -1e20..0, 0..1e300 (each the whole ellipse, as the picture draws
#   it) and 1e300..1e300.
# Pictures, for each CASE:
#   CASE-drawn.png     the drawing as opened
#   CASE-exported.png  after the export's option dialog was left by "Ok"
# The script says for each how long the export took, whether the .odt was
# written (and the ellipse shape it holds) and whether the program ended.
# Usage: bash scripts/far-arc-export-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/far-arc-export "$@"
mkdir -p "$work/d"
# Lines (counted from 1) of the default set replaced: the picture mode at
# line 10, the ellipse's view at 562, then its arc 1 and arc 2.
edit() {   # edit TARGET LINE=TEXT ...
  python3 - share/pelmar/DefaultSet/DeCircle.set "$@" <<'PY'
import sys
src, dst, *edits = sys.argv[1:]
lines = open(src, 'rb').read().split(b'\r\n')
for e in edits:
    n, text = e.split('=', 1)
    lines[int(n) - 1] = text.encode('cp1251')
open(dst, 'wb').write(b'\r\n'.join(lines))
PY
}
edit "$work/d/arc-0-1e20.pel" 10=1 562=1 563=0 564=1E20
edit "$work/d/arc-minus1e20-0.pel" 10=1 562=1 563=-1E20 564=0
edit "$work/d/arc-0-1e300.pel" 10=1 562=1 563=0 564=1E300
edit "$work/d/arc-1e300-1e300.pel" 10=1 562=1 563=1E300 564=1E300
play '
  for name in arc-0-1e20 arc-minus1e20-0 arc-0-1e300 arc-1e300-1e300; do
    # A fresh program folder whose word-processor options write the file
    # without opening it.
    rm -rf "$WORK/data"; mkdir -p "$WORK/data/pelmar" "$WORK/out"
    printf "Type of Run:\r\n0\r\nNumber of Arrow:\r\n2\r\nNumber of Dash:\r\n6\r\n" > "$WORK/data/pelmar/MSOffice.txt"
    rm -f "$WORK/out/$name.odt"
    "$PROG" "$WORK/d/$name.pel" >/dev/null 2>&1 &
    pid=$!
    for i in $(seq 120); do xdotool search --onlyvisible --name "Pelmar" >/dev/null 2>&1 && break; sleep 0.5; done
    sleep 4
    shot "$name-drawn"
    # File > Export: the type list (after the name) stepped down to .odt,
    # the name typed, then the option dialog left by "Ok" (Return).
    xdotool key ctrl+e; sleep 3
    xdotool key Tab; sleep 0.3
    for i in 1 2; do xdotool key Down; sleep 0.3; done
    xdotool key shift+Tab; sleep 0.3
    xdotool key ctrl+a; xdotool type --delay 40 "$WORK/out/$name.odt"; sleep 0.3
    xdotool key Return; sleep 3
    start=$(date +%s.%N)
    xdotool key Return
    for i in $(seq 120); do [ -s "$WORK/out/$name.odt" ] && break; sleep 0.5; done
    took=$(echo "$(date +%s.%N) - $start" | bc)
    sleep 2
    shot "$name-exported"
    if [ -s "$WORK/out/$name.odt" ]; then
      shape=$(unzip -p "$WORK/out/$name.odt" content.xml | grep -o "<draw:ellipse[^>]*>" | grep -o "draw:kind=\"[a-z]*\"[^/]*" | head -n 1)
      echo "$name: the .odt was written within $took s: ${shape:-no ellipse shape}"
    else
      echo "$name: NO .odt after $took s"
    fi
    xdotool key ctrl+q; sleep 2
    kill -0 $pid 2>/dev/null && { no; }
    for i in $(seq 20); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
    if kill -0 $pid 2>/dev/null; then echo "$name: the program runs on"; kill -9 $pid; else echo "$name: the program ended"; fi
  done
'
echo "Pictures in $out"
