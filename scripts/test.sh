#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test, then runs the engine's
# tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, and the concurrent
# conversions under ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure

if [ ! -f build-sanitize/build.ninja ]; then
  cmake -G Ninja -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DQUILLMARK_GUI=OFF -DQUILLMARK_BENCH=OFF -DQUILLMARK_SANITIZE=ON
fi
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure

if [ ! -f build-tsan/build.ninja ]; then
  cmake -G Ninja -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug \
    -DQUILLMARK_GUI=OFF -DQUILLMARK_BENCH=OFF -DQUILLMARK_SANITIZE=thread
fi
cmake --build build-tsan --target conversion_tests
# Without address-space randomisation: some kernels lay out memory where ThreadSanitizer
# cannot map its shadow.
setarch "$(uname -m)" -R ctest --test-dir build-tsan --output-on-failure -R Concurrent
