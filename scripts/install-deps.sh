#!/usr/bin/env bash
# Installs every Debian package the project builds, runs and tests with. Skips what is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  qt6-base-dev qt6-base-dev-tools libqt6sql6 libgl-dev libxkbcommon-dev
  qt6-translations-l10n
  firebird3.0-server-core firebird3.0-utils firebird-dev libfbclient2 libib-util
  firebird3.0-server
  libzip-dev zipcmp zipmerge ziptool
  libcurl4-openssl-dev
  libdw-dev binutils
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-dejavu-core fonts-liberation
  clang-format
  clang libclang-rt-14-dev
  poppler-utils
  python3-pil imagemagick
  python3-openpyxl python3-docx libreoffice-writer-nogui
  desktop-file-utils python3-gi
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Fehlende Pakete (als root installieren): ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
