# The animation builder left by Escape with a delay it refuses: the window
# stays on the field with its tip; a second Escape closes it.  Then the
# program is quit and must end.
source "$(dirname "$0")/mouse-session.sh" screens/anim-told-close "$@"
mkdir -p "$work/d"
cp tests/data/doc_small.pel "$work/d/Drawing.pel"
play '
  "$PROG" "$WORK/d/Drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 10
  at 350 56 1; xdotool key Home Return; sleep 2
  at 584 56 2                     # the animation builder
  at 858 385 0.3; xdotool key ctrl+a; xdotool type --delay 150 "12,5"
  xdotool key Escape; shot told
  if xdotool search --onlyvisible --name "^Анимация$" >/dev/null 2>&1; then echo "the builder stays open"; else echo "the builder closed"; fi
  xdotool key Escape; sleep 1; shot closed
  xdotool key ctrl+q; sleep 2
  at 811 508 3                    # "Нет": the drawing is not saved
  if kill -0 $pid 2>/dev/null; then echo "the program runs on"; kill $pid; else echo "the program ended"; fi
'
echo "Pictures in $out"
