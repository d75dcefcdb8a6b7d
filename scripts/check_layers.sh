#!/usr/bin/env bash
# The layering check (docs/architecture.md): every #include in src/ against
# the layers of the program.
#
#   - A folder includes only itself and the folders below it:
#       model < platform < drawing < files < editing < transform < shell
#       < dialogs < office; platform stands beside drawing (drawing may use
#       it, it uses nothing of drawing); src/app may include everything.
#   - The shell's windows (src/shell/ui/) may use the object dialogs: the
#     main window installs them as the editing core's dialog host.
#   - Window code lives in src/<folder>/ui/; the logic of a folder (the core
#     library pelmar_<folder>) includes no ui/ header.
#   - A core library includes Qt headers of QtCore and QtGui only (no
#     QtWidgets, no other module); the model includes no Qt at all.
#
# Prints one line per offending include and exits 1 when there is one.
# Usage: scripts/check_layers.sh [source root]   (default: this checkout)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

# Where the Qt headers are, to tell QtCore and QtGui headers from the rest.
qtinc="${QT_INCLUDE_DIR:-}"
if [ -z "$qtinc" ] && command -v pkg-config >/dev/null 2>&1; then
  qtinc="$(pkg-config --variable=includedir Qt6Core 2>/dev/null || true)"
fi
if [ -z "$qtinc" ] || [ ! -d "$qtinc/QtCore" ]; then
  for d in /usr/include/*/qt6 /usr/include/qt6; do
    if [ -d "$d/QtCore" ]; then qtinc="$d"; break; fi
  done
fi
if [ -z "$qtinc" ] || [ ! -d "$qtinc/QtCore" ] || [ ! -d "$qtinc/QtGui" ]; then
  echo "check_layers: the Qt 6 headers were not found (set QT_INCLUDE_DIR)" >&2
  exit 2
fi
core_gui_headers="$( (ls "$qtinc/QtCore"; ls "$qtinc/QtGui") | tr '\n' ' ')"

mapfile -t files < <(find src -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
[ ${#files[@]} -gt 0 ] || { echo "check_layers: no sources under $root/src" >&2; exit 2; }

awk -v qtheaders="$core_gui_headers" '
BEGIN {
  n = split("model platform drawing files editing transform shell dialogs office", order, " ")
  for (i = 1; i <= n; i++) rank[order[i]] = i
  split(qtheaders, h, " ")
  for (k in h) coregui[h[k]] = 1
  bad = 0
}
function complain(why) {
  printf "%s:%d: %s: %s\n", FILENAME, FNR, $0, why
  bad++
}
# May a file of folder `from` include a header of folder `to`?
function allowed(from, to) {
  if (from == "app" || from == to) return 1
  if (!(from in rank) || !(to in rank)) return 0
  if (from == "platform" && to == "drawing") return 0
  if (from == "shell" && ui && to == "dialogs") return 1
  return rank[to] <= rank[from]
}
FNR == 1 {
  split(FILENAME, p, "/")
  folder = p[2]
  ui = (p[3] == "ui")
  lib = "pelmar_" folder (ui ? "_ui" : "")
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
  inc = $0
  sub(/^[^"]*"/, "", inc); sub(/".*$/, "", inc)
  if (index(inc, "/") == 0) next  # a header beside the file
  split(inc, q, "/")
  to = q[1]
  if (!allowed(folder, to))
    complain(folder " may not include " to " (a folder includes only the folders below it)")
  else if (!ui && folder != "app" && q[2] == "ui")
    complain("the core library " lib " includes window code (" to "/ui/)")
  next
}
/^[ \t]*#[ \t]*include[ \t]*<Q/ {
  inc = $0
  sub(/^[^<]*</, "", inc); sub(/>.*$/, "", inc)
  if (folder == "model") { complain("the model includes no Qt"); next }
  if (ui || folder == "app") next
  module = ""
  name = inc
  if (index(inc, "/") > 0) { split(inc, q, "/"); module = q[1]; name = q[2] }
  else if (inc ~ /^Qt[A-Z]/) module = inc
  if (module != "") ok = (module == "QtCore" || module == "QtGui")
  else ok = (name in coregui)
  if (!ok) complain("the core library " lib " uses Qt beyond QtCore and QtGui (window code belongs in src/" folder "/ui/)")
  next
}
END {
  if (bad) printf "check_layers: %d include(s) against the layers of docs/architecture.md\n", bad
  exit bad > 0
}
' "${files[@]}"
