#!/usr/bin/env bash
# The layering check (docs/architecture.md): every #include in src/ and every
# link line of the libraries against the layers of the program.
#
#   - A folder includes only itself and the folders below it:
#       model < platform < drawing < files < editing < transform < dialogs
#       < shell < office; platform stands beside drawing (drawing may use
#       it, it uses nothing of drawing); src/app may include everything.
#   - A library links only libraries of its own folder and the folders
#     below; a core library links no window library; no two libraries link
#     each other.  pelmar_app, the top, links anything; nothing links it.
#   - Window code lives in src/<folder>/ui/; the logic of a folder (the core
#     library pelmar_<folder>) includes no ui/ header.
#   - A core library includes Qt headers of QtCore and QtGui only (no
#     QtWidgets, no other module); the model includes no Qt at all.
#
# Prints one line per offending include or link and exits 1 when there is one.
# Usage: scripts/check_layers.sh [source root] [link lines]
#   source root  default: this checkout
#   link lines   the file the build writes (build/pelmar_links.txt), one
#                library a line: "pelmar_x: the libraries it links"; without
#                it only the includes are checked
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
links="${2:-}"
if [ -n "$links" ]; then links="$(cd "$(dirname "$links")" && pwd)/$(basename "$links")"; fi
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
  n = split("model platform drawing files editing transform dialogs shell office", order, " ")
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
' "${files[@]}" || status=$?
status=${status:-0}

# The link lines: pelmar_<folder> or pelmar_<folder>_ui links only the layers
# its folder may include, a core library no window library, and no library
# links one that links it back.
if [ -n "$links" ]; then
  [ -r "$links" ] || { echo "check_layers: cannot read the link lines $links" >&2; exit 2; }
  awk '
  BEGIN {
    n = split("model platform drawing files editing transform dialogs shell office app", order, " ")
    for (i = 1; i <= n; i++) rank[order[i]] = i
    bad = 0
  }
  function folderOf(lib,   f) { f = lib; sub(/^pelmar_/, "", f); sub(/_ui$/, "", f); return f }
  function isUi(lib) { return lib ~ /_ui$/ }
  function complain(why) { printf "%s:%d: %s: %s\n", FILENAME, FNR, lib, why; bad++ }
  /^pelmar_[a-z]+(_ui)?:/ {
    lib = $1; sub(/:$/, "", lib)
    from = folderOf(lib)
    for (i = 2; i <= NF; i++) {
      dep = $i
      if (dep !~ /^pelmar_[a-z]+(_ui)?$/) continue
      to = folderOf(dep)
      linked[lib, dep] = FNR
      if (!(from in rank) || !(to in rank) || (from == "platform" && to == "drawing") || rank[to] > rank[from])
        complain("links " dep ": " from " may not link " to " (a library links only the layers below it)")
      else if (!isUi(lib) && isUi(dep) && from != "app")
        complain("links " dep ": a core library links no window library")
    }
  }
  END {
    for (pair in linked) {
      split(pair, ab, SUBSEP)
      if ((ab[2], ab[1]) in linked && ab[1] < ab[2]) {
        printf "%s: %s and %s link each other\n", FILENAME, ab[1], ab[2]
        bad++
      }
    }
    if (bad) printf "check_layers: %d link(s) against the layers of docs/architecture.md\n", bad
    exit bad > 0
  }' "$links" || status=1
fi
exit "$status"
