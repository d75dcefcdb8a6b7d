#!/usr/bin/env bash
# The lesson's triangle animated by the program under Xvfb with openbox on a
# 1600 x 1000 screen: A(150; 400), B(550; 400), C(250; 650) with both
# circles, C's Y formula 100+50*x, eleven frames.  The drawing is written by
# the animation test (transform_tests, PELMAR_ANIM_LESSON); the program opens
# it, builds its GIF with "Создать", and the frames are taken apart:
#   builder.png             the builder's window with its status after the build
#   frame-00.png ... -10    the GIF's frames, whole (convert -coalesce)
# In every frame both circles are circles: the circumcircle passes through
# A, B and C, the incircle touches the three sides.
# Usage: bash scripts/anim-frame-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
export SHOT_TARGETS="pelmar transform_tests"
source "$(dirname "$0")/mouse-session.sh" screens/anim-frames "$@"
mkdir -p "$work/d"
QT_QPA_PLATFORM=offscreen PELMAR_ANIM_LESSON="$work/d/Drawing.pel" \
  "$build/tests/transform_tests" --gtest_filter='AnimationStill.*' >/dev/null
play '
  "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  shot drawing
  at 584 56 2                     # the animation builder
  at 821 592 30; shot builder     # Создать
  at 906 592 1                    # Закрыть
  xdotool key ctrl+q; sleep 3
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
gif="$work/d/Drawing.pel.gif"
if [ ! -f "$gif" ]; then echo "no GIF was written" >&2; exit 1; fi
convert "$gif" -coalesce "$out/frame-%02d.png"
echo "$(ls "$out"/frame-*.png | wc -l) frames and the windows in $out"
