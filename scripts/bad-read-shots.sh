#!/usr/bin/env bash
# Files beside a document that are not what they should be, and saves that
# cannot be done, as a user who is not root ("nobody" when the script runs
# as root), under Xvfb with openbox on a 1600 x 1000 screen:
#   curves-made.png    the drawing's 3D system with its first surface switched
#                      on, drawn whole (▶) and saved, which writes its curves file
#   cur-folder.png     a drawing with curves whose curves file "graphs.cur" is a
#                      folder: opened, the curves computed again
#   cur-fifo.png       the same with a named pipe there
#   saveas-folder.png  the curves traced (▶), Save As "new.pel" beside a folder
#                      "new.cur": what is said
#   saveas-reopen.png  "new.pel" (if it was written) opened again
#   full-disk.png      Save of a changed drawing on a full disk: the file and
#                      the reason named
#   empty-trs.png      an empty "English.trs" of the user's, chosen in the
#                      settings: what is said at start
#   empty-trs-after.png  the window after Ok: the words it shows
# Each run ends by Ctrl+Q (answering "Нет" to the save question); the script
# says whether the program ended.
# Usage: bash scripts/bad-read-shots.sh [output folder]   (as root: it mounts
# a small tmpfs for the full disk)
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/other-user.sh" screens/bad-read "$@"
full="$work/full"
mkdir -p "$full"
trap 'umount "$full" 2>/dev/null || true; rm -rf "$work"' EXIT
docs="$work/docs"
mkdir -p "$docs"
# A drawing with curves: the shipped 3D system's set (a surface and its
# sections), as a document.
cp share/pelmar/DefaultSet/DeXYZ.set "$docs/graphs.pel"

export OUT="$out" PROG="$build/pelmar" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" ASAN_OPTIONS=detect_leaks=0 WORK="$work" \
  DOCS="$docs" FULL="$full"
export RUNAS="${user[*]}"
chown_all() { if [ -n "$RUNAS" ]; then chown -R 65534:65534 "$@"; fi; }

session() {   # $1: the steps, run under the display with the helpers below
  rm -rf "$home"; mkdir -p "$XDG_DATA_HOME/pelmar" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
  if [ -n "${PREPARE:-}" ]; then eval "$PREPARE"; fi
  chown_all "$home" "$docs"
  xvfb-run -a -s "-ac -screen 0 1600x1000x24" bash -c '
    set -u
    openbox >/dev/null 2>&1 &
    for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
    shot() { sleep 1.5; import -window root "$OUT/$1.png"; }
    start() { $RUNAS "$PROG" "$@" >>"$WORK/err.txt" 2>&1 & pid=$!; sleep 8; }
    quit() {   # Ctrl+Q, and "Нет" where the drawing is changed (the question at its right edge)
      xdotool key ctrl+q; sleep 2
      geometry="$(xdotool search --onlyvisible --name "^Pelmar$" getwindowgeometry --shell 2>/dev/null | head -n 5)"
      if [ -n "$geometry" ]; then eval "$geometry"; xdotool mousemove $((X + WIDTH - 139)) $((Y + 42)) click 1; fi
      sleep 3
      if kill -0 "$pid" 2>/dev/null; then echo "$1: the program runs on"; kill -9 "$pid"; else echo "$1: the program ended"; fi
    }
    '"$1"
}

# Its first surface switched on in its dialog and saved: the drawing now has
# a curves file.
session 'start "$DOCS/graphs.pel"
  xdotool mousemove 355 56 click 1; sleep 0.7; xdotool key Down Return; sleep 2   # the object list: XYZ 1
  xdotool mousemove 226 112 click 1; sleep 1; xdotool mousemove 33 161 click 1; sleep 3   # Графики, Декартов 1 on
  xdotool mousemove 553 56 click 1; sleep 5   # ▶: the full picture, its curves traced
  xdotool key ctrl+s; sleep 3; shot curves-made
  quit "the surface switched on and saved"'
[ -f "$docs/graphs.cur" ] || echo "graphs.cur was not written"

# The curves file a folder, then a named pipe.
rm -rf "$docs/graphs.cur"; mkdir "$docs/graphs.cur"
session 'start "$DOCS/graphs.pel"; shot cur-folder; quit "curves file a folder"'
rm -rf "$docs/graphs.cur"; mkfifo "$docs/graphs.cur"
session 'start "$DOCS/graphs.pel"; shot cur-fifo; quit "curves file a named pipe"'
rm -f "$docs/graphs.cur"

# Save As beside a folder "new.cur", then the new file opened again.
mkdir -p "$docs/new.cur"
session 'start "$DOCS/graphs.pel"
  xdotool mousemove 553 56 click 1; sleep 5   # ▶: the curves traced again
  xdotool key ctrl+shift+s; sleep 2
  xdotool key ctrl+a; xdotool type --delay 50 "$DOCS/new.pel"; xdotool key Return; sleep 3
  shot saveas-folder; xdotool key Return; sleep 1
  quit "save as beside a folder"'
if [ -f "$docs/new.pel" ]; then
  session 'start "$DOCS/new.pel"; shot saveas-reopen; quit "reopened new.pel"'
else
  echo "new.pel was not written"
fi

# Save on a full disk: a 64 KiB file system holding the drawing and a filler.
mount -t tmpfs -o size=64k,mode=0777 tmpfs "$full"
cp "$docs/graphs.pel" "$full/graphs.pel"
chown_all "$full"
head -c 1M /dev/zero > "$full/filler" 2>/dev/null || true
session 'start "$FULL/graphs.pel"
  xdotool mousemove 324 948 click 1; sleep 2   # Apply in the transformations: a change
  xdotool key ctrl+s; sleep 3
  shot full-disk; xdotool key Return; sleep 1
  quit "save on a full disk"'
umount "$full"

# An empty translation file of the user's, chosen in the settings.
PREPARE='mkdir -p "$XDG_DATA_HOME/pelmar/Translation"; : > "$XDG_DATA_HOME/pelmar/Translation/English.trs"
  sed "13s|.*|English.trs\r|" share/pelmar/Pelmar.set > "$XDG_DATA_HOME/pelmar/Pelmar.set"' \
session 'start; shot empty-trs; xdotool key Return; sleep 1; shot empty-trs-after; quit "empty translation"'
echo "Pictures in $out"
