#!/usr/bin/env bash
# The picture stays under the mouse: the program runs under Xvfb with a
# window manager (openbox) and xdotool plays the mouse.  In a new document a
# triangle is drawn (its dialog opens), then a new segment is dragged: its
# dialog, of another width, opens at the press, and the segment must run
# from the press to the release on the screen while the picture stays put.
#   before.png   the triangle drawn, the segment tool chosen
#   during.png   the button held at the segment's far end
#   after.png    after the release
#   checks.txt   the picture's place before and after, and the ink under the
#                press and the release
# Usage: bash scripts/picture_drag_screens.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/picture_drag "$@"

# The picture's white box on a screenshot: left, top, right, bottom.
cat > "$out/white_box.py" <<'EOF'
import subprocess, sys
W, H = 1600, 1000
data = subprocess.run(['convert', sys.argv[1], '-depth', '8', 'rgb:-'], capture_output=True, check=True).stdout
def px(x, y):
    i = (y * W + x) * 3
    return tuple(data[i:i + 3])
def longest(points):
    best, start = (0, -1), None
    for n, p in enumerate(points + [(0, 0, 0)]):
        if p == (255, 255, 255):
            start = n if start is None else start
        elif start is not None:
            best = max(best, (start, n - 1), key=lambda r: r[1] - r[0])
            start = None
    return best
# The row with the longest white run: one that crosses no drawn line.
l, r = max((longest([px(x, y) for x in range(W)]) for y in range(150, 950, 10)), key=lambda r: r[1] - r[0])
t, b = longest([px(l + 5, yy) for yy in range(H)])
print(l, t, r, b)
EOF

# Whether there is ink (a pixel not white) within 2 pixels of each point.
cat > "$out/ink.py" <<'EOF'
import subprocess, sys
W = 1600
data = subprocess.run(['convert', sys.argv[1], '-depth', '8', 'rgb:-'], capture_output=True, check=True).stdout
for xy in sys.argv[2:]:
    x, y = map(int, xy.split(','))
    ink = any(tuple(data[((y + dy) * W + x + dx) * 3:((y + dy) * W + x + dx) * 3 + 3]) != (255, 255, 255)
              for dx in range(-2, 3) for dy in range(-2, 3))
    print(f"{x},{y}: {'ink' if ink else 'no ink'}")
EOF

play '
  # New, the picture settings taken with Return; the draw tool with the
  # triangle; the question about the unsaved drawing at the end answered No.
  PELMAR_TEST_SCRIPT="Ok MeNew TBAdds TBTr No" "$PROG" &
  pid=$!
  sleep "${PELMAR_SHOT_WAIT:-8}"
  xdotool key Return
  sleep 2
  import -window root "$OUT/start.png"
  read -r L T R B < <(python3 "$OUT/white_box.py" "$OUT/start.png")
  echo "picture before: $L $T $R $B" > "$OUT/checks.txt"
  drag() {  # x0 y0 x1 y1: the left button held from the first point to the second
    xdotool mousemove "$1" "$2" mousedown 1
    sleep 1
    for s in 1 2 3 4 5 6 7 8; do
      xdotool mousemove $(( $1 + ($3 - $1) * s / 8 )) $(( $2 + ($4 - $2) * s / 8 )); sleep 0.2
    done
  }
  # The triangle: vertex 2 fixed by the right button, vertex 3 at the release.
  drag $((L + 100)) $((T + 400)) $((L + 300)) $((T + 400))
  xdotool mousedown 3 mouseup 3
  xdotool mousemove $((L + 200)) $((T + 250)); sleep 0.3
  xdotool mousemove $((L + 200)) $((T + 240)); sleep 0.3
  xdotool mouseup 1
  sleep 1
  # The segment tool, on the picture window'"'"'s tool bar above the picture.
  xdotool mousemove $((L + 185)) $((T - 22)) click 1
  sleep 1
  import -window root "$OUT/before.png"
  P="$((L + 80)),$((T + 80))" Q="$((L + 400)),$((T + 160))"
  drag $((L + 80)) $((T + 80)) $((L + 400)) $((T + 160))
  import -window root "$OUT/during.png"
  xdotool mouseup 1
  sleep 1
  xdotool mousemove $((L + 450)) $((T + 450))
  sleep 1
  import -window root "$OUT/after.png"
  echo "picture after: $(python3 "$OUT/white_box.py" "$OUT/after.png")" >> "$OUT/checks.txt"
  echo "press $P, release $Q:" >> "$OUT/checks.txt"
  python3 "$OUT/ink.py" "$OUT/after.png" "$P" "$Q" >> "$OUT/checks.txt"
  kill -TERM $pid
  wait $pid || true
'
rm -f "$out/white_box.py" "$out/ink.py" "$out/start.png"
cat "$out/checks.txt"
echo "Pictures in $out"
