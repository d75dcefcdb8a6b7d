#!/usr/bin/env bash
# The animation benchmark side by side with gifsicle: builds 60 frames into
# an animated GIF (bench_anim), then gives gifsicle -O2 the same frames (our
# file expanded back to whole frames) and compares the sizes.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v gifsicle > /dev/null; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get install -y -q --no-install-recommends gifsicle
fi
out="${PELMAR_ANIM_OUT:-/tmp/pelmar-bench-anim}"
export PELMAR_ANIM_OUT="$out"
bash scripts/bench.sh bench_anim
gifsicle --unoptimize "$out/anim.gif" -o "$out/plain.gif"
start=$(date +%s.%N)
gifsicle -O2 "$out/plain.gif" -o "$out/gifsicle.gif"
end=$(date +%s.%N)
ours=$(stat -c %s "$out/anim.gif")
plain=$(stat -c %s "$out/plain.gif")
theirs=$(stat -c %s "$out/gifsicle.gif")
echo "whole frames:      $plain bytes"
echo "ours:              $ours bytes"
awk -v s="$start" -v e="$end" -v t="$theirs" 'BEGIN { printf "gifsicle -O2:      %d bytes (%.2f s for gifsicle alone)\n", t, e - s }'
awk -v o="$ours" -v t="$theirs" 'BEGIN { printf "ours / gifsicle:   %.3f\n", o / t }'
