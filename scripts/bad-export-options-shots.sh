#!/usr/bin/env bash
# The export option files "CDR.txt" (.odg) and "MSOffice.txt" (.odt) made
# bad, with the program run as a user who is not root (as "nobody" when the
# script runs as root), under Xvfb with openbox on a 1600 x 1000 screen.  For
# each file and each bad case (a folder, a named pipe, mode 000, a link to
# /dev/zero, damaged lines, and the user's own values) the program opens a
# drawing in the vector picture mode, and File > Export (.odg or .odt) opens
# the option dialog twice: the first time it is left by "Отмена", the second
# by "Ok" (which writes the export).  Pictures, for each TYPE-CASE:
#   TYPE-CASE-open.png    the dialog as it opens (with the message saying that
#                         the file cannot be read, where it cannot)
#   TYPE-CASE-shown.png   the dialog with the values it shows
#   TYPE-CASE-cancelled.png  after "Отмена"
#   TYPE-CASE-again.png   the dialog opened the second time, before "Ok"
# The script says for each whether the program ended and whether the option
# file (its kind, mode and bytes) is as it was, and whether the export was
# written.
# Usage: bash scripts/bad-export-options-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/other-user.sh" screens/bad-export-options "$@"

# A drawing in the vector picture mode: the small test drawing with line 10
# (the picture mode) set to 1.
sed '10s/^0\r$/1\r/' tests/data/doc_small.pel > "$work/drawing.pel"

export OUT="$out" PROG="$build/pelmar" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" ASAN_OPTIONS=detect_leaks=0 WORK="$work"
export RUNAS="${user[*]}"
# The server lets every local client in: the program may run as another user.
xvfb-run -n 58 -s "-ac -screen 0 1600x1000x24" bash -c '
  set -u
  openbox >/dev/null 2>&1 &
  for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
  shot() { sleep 1; import -window root "$OUT/$1.png"; }
  trace() {   # what is at the option file: its kind, mode and bytes (as root) or link
    if [ -L "$file" ]; then echo "link $(readlink "$file")"
    elif [ -d "$file" ]; then echo "folder $(stat -c %a "$file")"
    elif [ -p "$file" ]; then echo "pipe $(stat -c %a "$file")"
    elif [ -f "$file" ]; then echo "file $(stat -c "%a %Y %i" "$file") $(sha256sum < "$file" | cut -c1-16)"
    else echo "nothing"; fi
  }
  fresh() {   # a new home with the option file made by "$1"
    rm -rf "$HOME"; mkdir -p "$XDG_DATA_HOME/pelmar" "$XDG_RUNTIME_DIR" "$HOME/out"; chmod 700 "$XDG_RUNTIME_DIR"
    cp "$WORK/drawing.pel" "$HOME/drawing.pel"
    file="$XDG_DATA_HOME/pelmar/$name"
    eval "$1"
    if [ -n "$RUNAS" ]; then chown -R -h 65534:65534 "$HOME"; fi
    if [ -n "${2:-}" ]; then chmod "$2" "$file"; fi
    before="$(trace)"
  }
  # File > Export: the save dialog, its type chosen by the keyboard ("$1"
  # steps down the type list, which is after the name; the dialog keeps the
  # type chosen last), then the name typed.
  export_dialog() {
    xdotool key ctrl+e; sleep 3
    xdotool key Tab; sleep 0.3
    for i in $(seq "$1"); do xdotool key Down; sleep 0.3; done
    xdotool key shift+Tab; sleep 0.3
    xdotool key ctrl+a; xdotool type --delay 40 "$HOME/out/export.$ext"; sleep 0.3
    xdotool key Return; sleep 3
  }
  dialog_button() {   # "$1": 1 Ok (Return, the default button), 2 Отмена (the last in the focus order)
    if [ "$1" = 1 ]; then xdotool key Return; else xdotool key shift+Tab; sleep 0.5; xdotool key space; fi
    sleep 3
  }
  run_case() {   # "$1" the case name, "$2" whether a message comes first
    local tag="$type-$1"
    $RUNAS "$PROG" "$HOME/drawing.pel" >"$WORK/err.txt" 2>&1 & pid=$!
    sleep 8
    export_dialog "$downs"
    shot "$tag-open"
    if [ "$2" = yes ]; then xdotool key Return; sleep 1; fi
    shot "$tag-shown"
    dialog_button 2
    shot "$tag-cancelled"
    after_cancel="$(trace)"
    export_dialog 0   # told once a session: no message the second time
    shot "$tag-again"
    dialog_button 1
    after_ok="$(trace)"
    [ -f "$HOME/out/export.$ext" ] && written="the export was written" || written="NO export was written"
    xdotool key ctrl+q; sleep 2; xdotool key Escape; sleep 1
    if kill -0 "$pid" 2>/dev/null; then echo "$tag: the program runs on"; kill "$pid"; else echo "$tag: the program ended"; fi
    for when in cancel ok; do
      eval "now=\$after_$when"
      if [ "$now" = "$before" ]; then echo "$tag: after $when the file is as it was ($now)"
      else echo "$tag: after $when the file CHANGED: $before -> $now"; fi
    done
    echo "$tag: $written"
  }
  for type in odg odt; do
    if [ $type = odg ]; then
      name=CDR.txt ext=odg downs=1
      own="printf \"Version:\r\n9\r\nType of Run:\r\n0\r\nGroups:\r\n0\r\nPelmar Arrows:\r\n\353\r\nNumber of Arrow:\r\n5\r\nNumber of Dash:\r\n3\r\n\" > \"\$file\""
      damaged="printf \"Version:\r\n12\r\nType of Run:\r\nabc\r\nGroups:\r\n0\r\nPelmar Arrows:\r\n??\r\nNumber of Arrow:\r\n7\r\nNumber of Dash:\r\n\377\r\n\" > \"\$file\""
    else
      name=MSOffice.txt ext=odt downs=2
      own="printf \"Type of Run:\r\n0\r\nNumber of Arrow:\r\n2\r\nNumber of Dash:\r\n6\r\n\" > \"\$file\""
      damaged="printf \"Type of Run:\n0\nNumber of Arrow:\n\001\nNumber of Dash:\n7\" > \"\$file\""
    fi
    fresh "mkdir -p \"\$file/inside\""; run_case folder yes
    fresh "mkfifo \"\$file\""; run_case pipe yes
    fresh "$own" 000; run_case mode000 yes
    fresh "ln -s /dev/zero \"\$file\""; run_case dev-zero yes
    fresh "$damaged"; run_case damaged no
    fresh "$own"; run_case own no
  done
'
echo "Pictures in $out"
