#!/bin/sh
# Builds every fuzzer of fuzz/ with clang, over libraries instrumented for it and for
# AddressSanitizer and UndefinedBehaviorSanitizer, and runs each in turn from its seeds
# (fuzz/seeds/FUZZER/); the seconds given (600 by default) are shared among them. A fuzzer stops
# at its first finding, leaving the input as build-fuzz/FUZZER-crash-* (or -leak-, -timeout-,
# -oom-), and the others still run; the status is then non-zero. Once a finding is fixed, keep
# its input as a seed: the tests replay every seed.
# New seeds are kept only where they raise coverage:
#   build-fuzz/fuzz/FUZZER -merge=1 fuzz/seeds/FUZZER NEW-INPUTS...
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD_DIR:-"$root/build-fuzz"}
total=${1:-600}

cmake -G Ninja -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQUILLMARK_FUZZ=ON -DQUILLMARK_TESTS=OFF -DQUILLMARK_BENCH=OFF -DQUILLMARK_GUI=OFF
fuzzers=$(ls "$root/fuzz/seeds")
ninja -C "$build" $fuzzers

seconds=$((total / $(echo "$fuzzers" | wc -w)))
found=""
for fuzzer in $fuzzers; do
    echo "$fuzzer: $seconds s"
    corpus="$build/corpus/$fuzzer"
    mkdir -p "$corpus"
    "$build/fuzz/$fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/$fuzzer-" "$corpus" "$root/fuzz/seeds/$fuzzer" || found="$found $fuzzer"
done
if [ -n "$found" ]; then
    echo "fuzz.sh: findings of$found, their inputs in $build" >&2
    exit 1
fi
