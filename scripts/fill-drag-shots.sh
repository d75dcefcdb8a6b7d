#!/usr/bin/env bash
# A filled circle built on a point, the point dragged with the mouse: played
# under Xvfb with a window manager (openbox) on a 1600 x 1000 screen with
# xdotool.
#   filled.png    a new drawing with one point; a new ellipse whose centre is
#                 linked to Point 1 in the link dialog, its fill on, built
#                 with ▶
#   dragged.png   the point dragged with the edit tool by (200, 200): the
#                 circle follows, its fill waits for ▶
#   built.png     after ▶: the fill is in the circle's new place
#   export.png    the picture exported as PNG
#   undo.png, redo.png   Undo, then Redo: each shows its circle filled
#   drawing.grd.png      the fill picture saved beside the drawing
#   reopened.png  the saved drawing opened by a new start of the program
# Each run of the program ends by its close box; the script says whether it did.
# Usage: bash scripts/fill-drag-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/mouse-session.sh" screens/fill-drag "$@"
play '
  build() { at 553 56 3; }        # ▶
  ended() { if kill -0 "$1" 2>/dev/null; then echo "$2: the program runs on"; kill "$1"; else echo "$2: the program ended"; fi; }
  saveAs() { at 795 642 0.3; xdotool key ctrl+a; xdotool type "$1"; xdotool key Return; sleep 3; }
  "$PROG" >/dev/null 2>&1 &
  pid=$!
  sleep 8
  at 18 56 2                      # New: points
  at 597 381 0.5; at 892 625 2
  at 901 658 3                    # Project options: Ok; Point 1 at (100, 100)
  at 1110 56 2                    # New ellipse: the link dialog
  at 546 494 1; at 522 517 1      # its centre on Point 1
  at 896 534 3                    # Ok: the ellipse dialog opens
  at 378 619 1.5; at 135 287 0.5; at 217 403 1   # its fill on
  build; shot filled
  # The picture starts at (458, 139) on the screen; the point is at picture
  # (100, 399).  The selection tool takes it, the edit tool drags it.
  at 539 119 0.5; at 558 538 1
  at 571 119 0.5
  xdotool mousemove 558 538 mousedown 1; sleep 0.5
  for s in 1 2 3 4 5 6 7 8; do xdotool mousemove $((558 + 25 * s)) $((538 - 25 * s)); sleep 0.2; done
  xdotool mouseup 1; sleep 1
  shot dragged
  build; shot built
  at 179 56 2                     # Save picture: PNG
  at 790 671 1; at 707 737 1
  saveAs "$WORK/export"
  cp "$WORK/export.png" "$OUT/export.png" 2>/dev/null || echo "no PNG was written"
  at 1532 56 2; shot undo
  at 1564 56 2; shot redo
  at 82 56 2                      # Save
  saveAs "$WORK/drawing.pel"
  cp "$WORK/drawing.grd.png" "$OUT/drawing.grd.png" 2>/dev/null || echo "no fill picture was saved"
  at 1590 9 3
  ended $pid "after the drag"
  "$PROG" "$WORK/drawing.pel" >/dev/null 2>&1 &
  pid=$!
  sleep 8; shot reopened
  at 1590 9 3
  ended $pid "after the reopening"
'
echo "Pictures in $out"
