#!/usr/bin/env bash
# The layering check on a small tree with one include and one link of every
# kind it must refuse and of every kind it must let pass, then on the real
# sources and, when the build passes them ($1), their link lines.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
check="$here/scripts/check_layers.sh"
tree="$(mktemp -d)"
trap 'rm -rf "$tree"' EXIT

put() {  # put FILE LINE...
  mkdir -p "$tree/$(dirname "$1")"
  local f="$tree/$1"; shift
  printf '%s\n' "$@" >> "$f"
}
# Refused: each line below is one offence.
put src/model/a.h '#include <QString>' '#include "drawing/redraw.h"'
put src/platform/p.cpp '#include "drawing/redraw.h"'
put src/drawing/d.cpp '#include "files/document.h"' '#include <QWidget>'
put src/files/f.cpp '#include "files/ui/zor_dialogs.h"' '#include <QtWidgets/QLabel>' '#include <QtPrintSupport>'
put src/editing/e.cpp '#include "shell/application.h"' '#include "files/ui/zor_dialogs.h"'
# Let pass.
put src/model/b.cpp '#include "model/records.h"' '#include <vector>'
put src/platform/q.cpp '#include "model/records.h"' '#include <QImage>' '#include <QtGui/QPainter>'
put src/drawing/ok.cpp '#include "platform/canvas.h"' '#include "model/records.h"' '#include <QImage>' '#include "beside.h"'
put src/files/ui/w.cpp '#include <QLabel>' '#include "files/document.h"' '#include "drawing/ui/x.h"'
put src/shell/s.cpp '#include "files/document.h"' '#include <QCoreApplication>'
put src/shell/ui/m.cpp '#include "dialogs/ui/dialog_registry.h"'
put src/dialogs/ui/n.cpp '#include "shell/ui/main_window.h"'
put src/app/main.cpp '#include <QApplication>' '#include "shell/ui/main_window.h"'

status=0
out="$(bash "$check" "$tree" 2>&1)" || status=$?
expected=(
  "src/drawing/d.cpp:1: #include \"files/document.h\": drawing may not include files"
  "src/drawing/d.cpp:2: #include <QWidget>: the core library pelmar_drawing uses Qt beyond QtCore and QtGui"
  "src/editing/e.cpp:1: #include \"shell/application.h\": editing may not include shell"
  "src/editing/e.cpp:2: #include \"files/ui/zor_dialogs.h\": the core library pelmar_editing includes window code"
  "src/files/f.cpp:1: #include \"files/ui/zor_dialogs.h\": the core library pelmar_files includes window code"
  "src/files/f.cpp:2: #include <QtWidgets/QLabel>: the core library pelmar_files uses Qt beyond"
  "src/files/f.cpp:3: #include <QtPrintSupport>: the core library pelmar_files uses Qt beyond"
  "src/model/a.h:1: #include <QString>: the model includes no Qt"
  "src/model/a.h:2: #include \"drawing/redraw.h\": model may not include drawing"
  "src/platform/p.cpp:1: #include \"drawing/redraw.h\": platform may not include drawing"
  "src/dialogs/ui/n.cpp:1: #include \"shell/ui/main_window.h\": dialogs may not include shell"
  "check_layers: 11 include(s)"
)
fail=0
[ "$status" -eq 1 ] || { echo "expected exit status 1, got $status"; fail=1; }
for e in "${expected[@]}"; do
  grep -qF -- "$e" <<<"$out" || { echo "missing: $e"; fail=1; }
done
lines=$(grep -c ': #include' <<<"$out" || true)
[ "$lines" -eq 11 ] || { echo "expected 11 offences, got $lines"; fail=1; }
if [ "$fail" -ne 0 ]; then echo "--- output:"; echo "$out"; exit 1; fi

# Link lines: an upward link, a core library linking windows and two window
# libraries linking each other are refused; downward links pass.
rm -rf "$tree/src"
put src/model/ok.h '#include <vector>'
put links.txt 'pelmar_model: ' \
  'pelmar_drawing: pelmar_model pelmar_platform Qt6::Gui' \
  'pelmar_files: pelmar_drawing pelmar_shell' \
  'pelmar_editing: pelmar_files pelmar_files_ui' \
  'pelmar_files_ui: pelmar_files Qt6::Widgets' \
  'pelmar_dialogs_ui: pelmar_dialogs pelmar_files_ui pelmar_shell_ui' \
  'pelmar_shell_ui: pelmar_shell pelmar_dialogs_ui pelmar_app Qt6::PrintSupport' \
  'pelmar_app: pelmar_shell_ui pelmar_office'
status=0
out="$(bash "$check" "$tree" "$tree/links.txt" 2>&1)" || status=$?
expected=(
  "pelmar_files: links pelmar_shell: files may not link shell"
  "pelmar_editing: links pelmar_files_ui: a core library links no window library"
  "pelmar_dialogs_ui: links pelmar_shell_ui: dialogs may not link shell"
  "pelmar_dialogs_ui and pelmar_shell_ui link each other"
  "pelmar_shell_ui: links pelmar_app: shell may not link app"
  "check_layers: 6 link(s)"
)
[ "$status" -eq 1 ] || { echo "links: expected exit status 1, got $status"; fail=1; }
for e in "${expected[@]}"; do
  grep -qF -- "$e" <<<"$out" || { echo "missing: $e"; fail=1; }
done
if [ "$fail" -ne 0 ]; then echo "--- output:"; echo "$out"; exit 1; fi

# The program itself keeps its layers.
bash "$check" "$here" ${1:+"$1"}
