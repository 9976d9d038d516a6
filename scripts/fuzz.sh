#!/bin/sh
# Builds the VBA stream fuzzer with clang and runs it (60 s by default, or the seconds given).
# Exits non-zero when the fuzzer finds a crash; the crashing input is left in the build folder.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-"$root/build-fuzz"}
seconds=${1:-60}

cmake -G Ninja -S "$root/fuzz" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo
ninja -C "$build"

corpus="$build/corpus"
mkdir -p "$corpus"
cd "$build"
./vba_streams_fuzzer -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10 \
    "$corpus" "$root/fuzz/seeds"
