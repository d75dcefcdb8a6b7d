#!/usr/bin/env bash
# The program started with bad settings files, as a user who is not root (as
# "nobody" when the script runs as root), under Xvfb with openbox on a
# 1600 x 1000 screen:
#   unreadable.png        "Pelmar.set" without read permission: the message
#                         that the settings of this session are not kept
#   unreadable-after.png  the window after Ok: the shipped defaults
#   empty.png             an empty "Pelmar.set": the shipped defaults
#   junk.png              a user's "Pelmar.set" (the File group and the Help
#                         group of the tool bar hidden) with junk after its
#                         thirteen lines: the user's tool bar
# Each run ends by Ctrl+Q; the script says whether the program ended and
# whether the settings file (its bytes and its mode) is as it was.
# Usage: bash scripts/bad-settings-shots.sh [output folder]
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
source "$(dirname "$0")/other-user.sh" screens/bad-settings "$@"

# A user's settings: the shipped ones with the File and Help groups hidden.
own="$work/own.set"
sed '6s/^000000000/100000010/' share/pelmar/Pelmar.set > "$own"

export OUT="$out" PROG="$build/pelmar" HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
  XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run" ASAN_OPTIONS=detect_leaks=0 OWN="$own" WORK="$work"
export RUNAS="${user[*]}"
# The server lets every local client in: the program may run as another user.
xvfb-run -n 57 -s "-ac -screen 0 1600x1000x24" bash -c '
  set -u
  openbox >/dev/null 2>&1 &
  for i in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break; sleep 0.2; done
  shot() { sleep 1.5; import -window root "$OUT/$1.png"; }
  fresh() {   # a new home with the settings file made by "$1", then given the mode "$2"
    rm -rf "$HOME"; mkdir -p "$XDG_DATA_HOME/pelmar" "$XDG_RUNTIME_DIR"; chmod 700 "$XDG_RUNTIME_DIR"
    file="$XDG_DATA_HOME/pelmar/Pelmar.set"
    eval "$1"
    sum="$(sha256sum < "$file")"
    if [ -n "$RUNAS" ]; then chown -R 65534:65534 "$HOME"; fi
    if [ -n "${2:-}" ]; then chmod "$2" "$file"; fi
    before="$(stat -c %a "$file") $sum"
  }
  start() { $RUNAS "$PROG" >"$WORK/err.txt" 2>&1 & pid=$!; sleep 8; }
  quit() {
    xdotool key ctrl+q; sleep 3
    if kill -0 "$pid" 2>/dev/null; then echo "$1: the program runs on"; kill "$pid"; else echo "$1: the program ended"; fi
    mode="$(stat -c %a "$file")"; chmod u+r "$file"
    after="$mode $(sha256sum < "$file")"
    if [ "$after" = "$before" ]; then echo "$1: the settings file is as it was (mode $mode)"; else echo "$1: the settings file CHANGED"; fi
  }
  fresh "cp \"\$OWN\" \"\$file\"" 000
  start; shot unreadable
  xdotool key Return; shot unreadable-after
  quit "unreadable"
  fresh ": > \"\$file\""
  start; shot empty; quit "empty"
  fresh "{ cat \"\$OWN\"; head -c 2000 /dev/urandom; } > \"\$file\""
  start; shot junk; quit "junk appended"
'
echo "Pictures in $out"
