#!/usr/bin/env bash
# The largest drawing a picture holds (every kind at its capacity, every
# object built on Point 1), written by bench_digit_large, edited in the real
# program under Xvfb with openbox on a 1600 x 1000 screen:
#   opened.png     the drawing as the program opens it
#   typed.png      Point 1 chosen in the object list, its X typed over digit
#                  by digit: every object built on it follows
#   undone.png     one Undo: the drawing as it was opened
#   asked.png      Ctrl+Q: the question whether to save the drawing
# "process ended" is printed when "Нет" ends the program.
# Usage: bash scripts/linked-digit-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-bench, a Release build, by
# default; it is built with the program and the benchmark).
export PELMAR_BUILD="${PELMAR_BUILD:-build-bench}"
export SHOT_TARGETS="pelmar bench_digit_large"
if [ ! -f "${PELMAR_BUILD}/build.ninja" ]; then
  cmake -S "$(dirname "$0")/.." -B "$PELMAR_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMAR_BENCH=ON \
    -DPELMAR_TESTS=OFF >/dev/null
fi
source "$(dirname "$0")/mouse-session.sh" screens/linked-digit "$@"
export DOCS="$work/docs"
mkdir -p "$DOCS"
PELMAR_DIGIT_OUT="$DOCS" QT_QPA_PLATFORM=offscreen "$build/bench/bench_digit_large" \
  --benchmark_filter='BM_DigitInLargestDocument/0/' --benchmark_min_time=0.01 >/dev/null 2>&1
[ -f "$DOCS/large.pel" ] || { echo "the benchmark wrote no drawing"; exit 1; }
play '
  "$PROG" "$DOCS/large.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 12
  shot opened
  at 351 56 1; xdotool key Home Return; sleep 3   # the object list: Point 1
  at 136 226 0.3; xdotool key ctrl+a; xdotool type --delay 400 150; sleep 2
  shot typed
  at 1532 56 3; shot undone       # Undo
  xdotool key ctrl+q; shot asked
  if xdotool search --onlyvisible --name "^Pelmar$" >/dev/null 2>&1; then no; fi
  sleep 2
  if kill -0 $pid 2>/dev/null; then echo "still running"; kill $pid; else echo "process ended"; fi
'
echo "Pictures in $out"
