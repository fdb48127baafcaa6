#!/usr/bin/env bash
# Installs the Debian packages Quantorix needs to build, test and run.
# Safe to run again: only missing packages are installed.
set -euo pipefail

PACKAGES=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev libx11-dev
  xvfb xauth x11-apps imagemagick poppler-utils fonts-wqy-microhei
  libxlsxwriter-dev python3-xlrd python3-openpyxl qt6-translations-l10n qt6-svg-dev
  openbox xdotool lintian appstream dpkg-dev fakeroot file
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: need root (or sudo) to install: ${missing[*]}" >&2; exit 1
  fi
fi
echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
