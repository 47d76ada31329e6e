#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test the program, if any is missing.
set -euo pipefail

packages=(cmake ninja-build g++ make qt6-base-dev libicu-dev fonts-wine fonts-liberation xvfb xauth xdotool x11-utils xclip imagemagick)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
