#!/usr/bin/env bash
# Installs the Debian packages the project needs (as root, or through sudo); installs
# nothing when they are all there already.
set -euo pipefail
PACKAGES=(cmake ninja-build g++ pkg-config
          qt6-base-dev qt6-base-dev-tools libgl-dev
          libgtest-dev libgmock-dev libbenchmark-dev libtiff-dev libpng-dev
          libjpeg62-turbo-dev zlib1g-dev
          fonts-dejavu-core fonts-liberation2
          qt6-translations-l10n
          python3-ezdxf gdal-bin librecad xvfb xauth x11-utils libxtst6 poppler-utils imagemagick
          clang-14 libclang-rt-14-dev
          libtiff-tools locales xdg-utils desktop-file-utils shared-mime-info libglib2.0-bin)
missing=()
for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    SUDO=()
    [ "$(id -u)" -ne 0 ] && SUDO=(sudo)
    echo "Installing: ${missing[*]}"
    "${SUDO[@]}" apt-get update -qq
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# One locale whose decimal separator is a comma, so the conversions that follow the
# user's locale are tested with both separators.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
    SUDO=()
    [ "$(id -u)" -ne 0 ] && SUDO=(sudo)
    "${SUDO[@]}" sed -i 's/^# *\(ru_RU\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ru_RU\.UTF-8 UTF-8' /etc/locale.gen || echo 'ru_RU.UTF-8 UTF-8' | "${SUDO[@]}" tee -a /etc/locale.gen >/dev/null
    "${SUDO[@]}" locale-gen >/dev/null
fi
