#!/usr/bin/env bash
# Installs what is missing, builds Tavisk and runs the whole test suite:
# once in an optimised build, once under AddressSanitizer and UndefinedBehaviorSanitizer,
# and the thread tests under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs" --timeout 600

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTAVISK_SANITIZE=address,undefined
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=0 ctest --test-dir build-asan --output-on-failure -j "$jobs" --timeout 900

cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVISK_SANITIZE=thread -DTAVISK_GUI=OFF
cmake --build build-tsan -j "$jobs"
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan --output-on-failure -j "$jobs" --timeout 900 -R 'Thread'

if [ -x scripts/fuzz.sh ]; then
  ./scripts/fuzz.sh --brief
fi
