#!/usr/bin/env bash
# Installs what is missing, builds the program alone (no tests, no
# benchmarks) in its own folder build-run/ and starts it.  The tests are
# built by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPELMAR_TESTS=OFF -DPELMAR_BENCH=OFF
cmake --build build-run -j "$(nproc)" --target pelmar
exec ./build-run/pelmar "$@"
