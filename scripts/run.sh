#!/usr/bin/env bash
# Installs what is missing, builds Quantorix and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQTX_TESTS=OFF -DQTX_BENCH=OFF
cmake --build build -j"$(nproc)"
if [ -x build/bin/quantorix ]; then
  exec build/bin/quantorix "${1:-examples/sample.qtx}"
fi
echo "Quantorix expression engine, worked examples (qtx calc):"
build/bin/qtx calc --status \
  "(12+45)[墙长度]*2.8[中括号外填写计算式]+(10)*(3.6+0.2)" \
  "SIN（30）*2" "2^3^2" "5++3" "1/3"
