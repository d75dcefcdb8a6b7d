# The start the scripts run as another user share; sourced, with the output
# folder's default as the first argument and the script's own arguments
# after it.  Builds the program and sets `out`, `build`, `work` (removed at
# the end), `home` (inside `work`) and `user`: the command prefix that runs
# the program as "nobody" when the script runs as root, empty otherwise.
# PELMAR_BUILD names the build folder (build-dev by default; it is built).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
out="${2:-$1}"
mkdir -p "$out"
out="$(cd "$out" && pwd)"
build="$(cd "${PELMAR_BUILD:-build-dev}" 2>/dev/null && pwd || echo "$PWD/${PELMAR_BUILD:-build-dev}")"
if [ ! -f "$build/build.ninja" ]; then cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null; fi
cmake --build "$build" -j3 --target pelmar

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
user=()
if [ "$(id -u)" = 0 ]; then
  user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
  chmod 755 "$work"
fi
home="$work/home"
