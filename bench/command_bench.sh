#!/usr/bin/env bash
# Times the whole `quillmark convert` process on a generated module (209,000 lines, 6.6 MB, by
# default) against the floor program of ../shared/bench/floor.cpp (read the file, escape < > &,
# write it), built with -O2 and run in the same hyperfine run, and reports peak memory.
# Run after scripts/build.sh; needs hyperfine (Debian package).
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-209000}
build=${BUILD:-build}
floor=${FLOOR:-../shared/bench/floor.cpp}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bench/generate_module" "$lines" "$work/Generated.bas"
echo "module: $lines lines, $(stat -c %s "$work/Generated.bas") bytes; load average $(cut -d' ' -f1-3 /proc/loadavg)"
g++ -O2 -o "$work/floor" "$floor"
hyperfine --warmup 3 --runs 30 -N "$work/floor $work/Generated.bas" "$build/quillmark convert $work/Generated.bas"
for run in 1 2 3; do
  /usr/bin/time -f "run $run: %e s wall, %M KiB peak" "$build/quillmark" convert "$work/Generated.bas" > "$work/out.html"
done
echo "output: $(stat -c %s "$work/out.html") bytes"
