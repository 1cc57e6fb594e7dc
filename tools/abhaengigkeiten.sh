#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, but only when one is
# missing, so that a machine that has them all runs no apt-get at all.
set -euo pipefail

pakete=(
  g++ cmake ninja-build make pkg-config
  qt6-base-dev libgl-dev qt6-qpa-plugins qt6-translations-l10n
  fonts-liberation fontconfig
  poppler-utils
  libbenchmark-dev libeigen3-dev
  clang libclang-rt-14-dev
  xvfb xauth openbox xdotool imagemagick libxcb1-dev
)

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${fehlend[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
