#!/usr/bin/env bash
# Builds the Debian package build-package/quantorix_VERSION_ARCH.deb; with
# --install also installs it on this machine through apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
BUILD=${QTX_BUILD_DIR:-build-package}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DQTX_TESTS=OFF -DQTX_BENCH=OFF
cmake --build "$BUILD" -j"$(nproc)"
(cd "$BUILD" && cpack -G DEB)
deb=$(ls -t "$BUILD"/quantorix_*.deb | head -1)
echo "package: $deb"
if [ "${1:-}" = "--install" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get install -y "./$deb"
fi
