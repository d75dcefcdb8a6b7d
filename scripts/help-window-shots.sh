#!/usr/bin/env bash
# Pictures of the help window as a user sees it: the program started under
# Xvfb with openbox and no web browser on the path, F1 pressed, then the
# help window taken page by page down to the end of the help page.
# Usage: bash scripts/help-window-shots.sh [program] [output folder]
set -euo pipefail
cd "$(dirname "$0")/.."
prog="$(realpath "${1:-build-test/pelmar}")"
out="${2:-screens/help}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
# The program runs with an empty path: no xdg-open, no browser.
mkdir -p "$home/bin"
HOME="$home" XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" XDG_CONFIG_HOME="$home/config" \
ASAN_OPTIONS=detect_leaks=0 PROG="$prog" OUT="$out" NOBIN="$home/bin" \
  xvfb-run -a -s "-screen 0 1600x1000x24" bash -c '
    openbox & sleep 1
    PATH="$NOBIN" "$PROG" & sleep 4
    main=$(xdotool search --name "^Pelmar" | head -1)
    xdotool windowactivate --sync "$main"; sleep 0.5
    xdotool key F1; sleep 2
    import -window root "$OUT/help-top.png"
    help=$(xdotool search --name "Pelmar  -  " | head -1)
    xdotool windowactivate --sync "$help"
    # Then the help window alone, a page at a time to the end.
    for n in $(seq -w 1 16); do
      import -window "$help" "$OUT/help-page$n.png"
      xdotool key Page_Down; sleep 0.4
    done
    kill %2 %1 2>/dev/null || true
  '
echo "Pictures in $out"
