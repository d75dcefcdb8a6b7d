#!/usr/bin/env bash
# Runs the scripted drag run (tests/editing/drag_run_test.cpp) with two test
# programs, typically this checkout's and one built from the code before a
# change, and compares what they wrote byte for byte: the document after
# every drag and every undo file.
#
# Usage: scripts/compare-drag-run.sh BEFORE_TEST_PROGRAM AFTER_TEST_PROGRAM
#   e.g. scripts/compare-drag-run.sh ../old/build-test/tests/editing_tests build-test/tests/editing_tests
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 BEFORE_TEST_PROGRAM AFTER_TEST_PROGRAM" >&2; exit 2; }
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen
for side in before after; do
  program="$1"; shift
  PELMAR_DRAG_RUN_OUT="$out/$side" "$program" --gtest_filter='DragRun.*' >"$out/$side.log" 2>&1 ||
    { cat "$out/$side.log"; echo "the drag run failed with $program" >&2; exit 1; }
done
if diff -r "$out/before" "$out/after" >/dev/null; then
  echo "the drag runs agree: $(ls "$out/after" | wc -l) files byte for byte"
else
  diff -rq "$out/before" "$out/after" || true
  exit 1
fi
