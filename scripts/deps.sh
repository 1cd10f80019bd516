#!/usr/bin/env bash
# Installs the Debian packages Vendral needs to build, run and test, if any
# is missing. Usage: scripts/deps.sh [extra packages...]
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev qt6-svg-dev libgl-dev libgtest-dev fonts-liberation desktop-file-utils appstream dpkg-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
