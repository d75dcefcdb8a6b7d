#!/usr/bin/env bash
# Installs what is missing, builds the benchmarks optimised and runs them all,
# or only those named: bash scripts/bench.sh bench_redraw_full bench_formula
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPELMAR_BENCH=ON -DPELMAR_TESTS=OFF
cmake --build build-bench -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
if [ "$#" -eq 0 ]; then
  set -- $(cd build-bench/bench && ls bench_* | grep -v '\.')
fi
for b in "$@"; do
  echo "== $b"
  "build-bench/bench/$b" --benchmark_repetitions=3 --benchmark_report_aggregates_only=true
done
