#!/usr/bin/env bash
# The animated GIF of a moving coordinate system built in the program, timed,
# under Xvfb with openbox on a 1600 x 1000 screen, beside the same frames
# built outside the window (bench_anim_window's BM_MovingOutside).  Two
# documents of 60 frames, written by bench_anim_window: sphere.pel (a 3D
# system moved by its centre's formula, with the implicit sphere, its
# sections and its outline) and circle.pel (a 2D system with an implicit
# circle).  For each, the program opens the document, Анимация opens the
# builder, "Создать" is clicked and the time until the GIF is written is
# printed:
#   DOC-open.png      the document as the program opens it
#   DOC-done.png      the builder with its green status
#   DOC-building.png  half a second into a second build: the frame count
#                     moving
#   sphere-cancelled.png  that build of the sphere cancelled: the red status,
#                     the GIF of the first build kept
#   DOC-frames.png    frames 0, 20, 40 and 59 of the GIF
#   times.txt         the times in the program and outside it
# Usage: bash scripts/moving-anim-timing.sh [output folder]
# PELMAR_BUILD names the build folder (build-bench, a Release build, by
# default; it is built with the program and the benchmark).
export PELMAR_BUILD="${PELMAR_BUILD:-build-bench}"
export SHOT_TARGETS="pelmar bench_anim_window"
if [ ! -f "${PELMAR_BUILD}/build.ninja" ]; then
  cmake -S "$(dirname "$0")/.." -B "$PELMAR_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMAR_BENCH=ON \
    -DPELMAR_TESTS=OFF >/dev/null
fi
source "$(dirname "$0")/mouse-session.sh" screens/moving-anim-timing "$@"
export DOCS="$work/docs"
mkdir -p "$DOCS"
PELMAR_ANIM_OUT="$DOCS" QT_QPA_PLATFORM=offscreen "$build/bench/bench_anim_window" \
  --benchmark_filter=BM_MovingOutside --benchmark_format=json > "$DOCS/outside.json"
python3 - "$DOCS/outside.json" > "$out/times.txt" <<'EOF'
import json, sys
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    doc = "sphere" if "doc:0/" in b["name"] else "circle"
    print(f"{doc} outside the window: {b['real_time'] / 1000:.2f} s")
EOF
play '
  for doc in sphere circle; do
    "$PROG" "$DOCS/$doc.pel" >/dev/null 2>&1 &
    pid=$!
    sleep 8; shot "$doc-open"
    at 584 56 3                   # the animation builder
    start=$(date +%s.%N)
    at 821 592 0                  # Создать
    for i in $(seq 3000); do [ -f "$DOCS/$doc.pel.gif" ] && break; sleep 0.05; done
    end=$(date +%s.%N)
    awk -v s="$start" -v e="$end" -v d="$doc" "BEGIN { printf \"%s in the program: %.2f s\\n\", d, e - s }" \
      >> "$OUT/times.txt"
    sleep 1; shot "$doc-done"
    # Built again for a look at the window while it builds (the screenshot
    # holds the X server: this build is not timed).
    at 821 592 0.5; import -window root "$OUT/$doc-building.png"
    if [ "$doc" = sphere ]; then
      at 906 592 2; shot "$doc-cancelled"   # Отмена: the frame in progress ends, no file
    fi
    sleep 3
    at 906 592 1                  # Закрыть
    rm -rf "$WORK/frames"; mkdir -p "$WORK/frames"
    convert "$DOCS/$doc.pel.gif" -coalesce "$WORK/frames/frame-%02d.png"
    montage "$WORK"/frames/frame-{00,20,40,59}.png -tile 4x -geometry 400x300+4+4 "$OUT/$doc-frames.png"
    xdotool key ctrl+q; sleep 2   # the drawing, unchanged, asks nothing
    if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; fi
  done
'
cat "$out/times.txt"
echo "Pictures in $out"
