#!/usr/bin/env bash
# Configures and builds the project in build/ (Release). Extra arguments name targets.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -G Ninja -S . -B build -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build ${1:+--target "$@"}
