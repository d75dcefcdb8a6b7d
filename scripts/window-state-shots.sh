#!/usr/bin/env bash
# The picture window opens as its document was saved: the window tests save
# one drawing with the picture window normal, maximised and minimised; the
# program is started with each under Xvfb with openbox and the screen taken:
#   normal.png  maximised.png  minimised.png
#   restored.png  the minimised one after a double click on its title bar
# Usage: bash scripts/window-state-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
SHOT_TARGETS="shell_tests pelmar" source "$(dirname "$0")/mouse-session.sh" screens/window_state "$@"
PELMAR_WINSTATE_FILES="$out" QT_QPA_PLATFORM=offscreen "$build/tests/shell_tests" \
  --gtest_filter='MainWindow.PictureWindowComesBackAsSaved' >/dev/null 2>&1

play '
  for state in normal maximised minimised; do
    "$PROG" "$OUT/$state.pel" &
    pid=$!
    sleep "${PELMAR_SHOT_WAIT:-8}"
    import -window root "$OUT/$state.png"
    if [ "$state" = minimised ]; then
      # The minimised title bar lies at the bottom left of the MDI area.
      read -r X Y < <(xdotool search --sync --onlyvisible --name "^Pelmar" getwindowgeometry --shell | \
        awk -F= "/^X=/{x=\$2} /^Y=/{y=\$2} /^HEIGHT=/{h=\$2} END{print x + 60, y + h - 12}")
      xdotool mousemove "$X" "$Y" click --repeat 2 1
      sleep 2
      import -window root "$OUT/restored.png"
    fi
    kill -TERM $pid
    wait $pid || true
  done
'
rm -f "$out"/*.pel
echo "Pictures in $out"
