#!/usr/bin/env bash
# Installs what is missing, checks the layering of the includes, builds the
# program and its tests with the sanitizers on and runs all tests.  Line tables
# are all the debug information the sanitizers' reports need; the benchmarks
# are built, optimised, by scripts/bench.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/check_layers.sh
jobs=$(nproc)
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1 -DPELMAR_SANITIZE=ON -DPELMAR_BENCH=OFF
cmake --build build-test -j "$jobs"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-test --output-on-failure -j "$jobs"
