#!/usr/bin/env bash
# Installs the Debian packages Pelmar needs to build and test, when missing.
set -euo pipefail
pkgs=(g++ cmake ninja-build pkg-config libgtest-dev libbenchmark-dev qt6-base-dev
      libpng-dev zlib1g-dev libjpeg-dev libgif-dev libuemf-dev fonts-dejavu-core libzip-dev libfontconfig-dev
      libimagequant-dev qt6-translations-l10n xdg-utils shared-mime-info libssl-dev fonts-urw-base35)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
