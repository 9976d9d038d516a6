#!/usr/bin/env bash
# Configures and builds the project in build/ (Release). Extra arguments name targets.
#   --command-line-only  a new build/ gets only the command line's parts (no window toolkit,
#                        tests or benchmarks); an existing build/ keeps the parts it has.
# QUILLMARK_WERROR=ON in the environment makes compiler warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
options=(-G Ninja -S . -B build -DCMAKE_BUILD_TYPE=Release ${QUILLMARK_WERROR:+-DQUILLMARK_WERROR=$QUILLMARK_WERROR})
if [ "${1:-}" = --command-line-only ]; then
  shift
  if [ ! -f build/build.ninja ]; then
    cmake "${options[@]}" -DQUILLMARK_GUI=OFF -DQUILLMARK_TESTS=OFF -DQUILLMARK_BENCH=OFF
  elif [ -n "${QUILLMARK_WERROR:-}" ]; then
    cmake "${options[@]}"
  fi
else
  cmake "${options[@]}" -DQUILLMARK_GUI=ON -DQUILLMARK_TESTS=ON -DQUILLMARK_BENCH=ON >/dev/null
fi
cmake --build build ${1:+--target "$@"}
