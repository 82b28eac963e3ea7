#!/usr/bin/env bash
# Installs what is missing, builds Tavisk and starts the game (arguments go to the program).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)"
if [ -x build/bin/tavisk ]; then
  exec build/bin/tavisk "$@"
else
  exec build/bin/tavisk-bench perft-suite
fi
