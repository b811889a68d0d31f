#!/usr/bin/env bash
# Installs the Debian packages the project needs (as root, or through sudo).
set -euo pipefail
PACKAGES=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev googletest libbenchmark-dev
          libjpeg62-turbo-dev zlib1g-dev
          fonts-dejavu-core fonts-liberation2)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=""
    [ "$(id -u)" -ne 0 ] && SUDO=sudo
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
