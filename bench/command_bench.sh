#!/usr/bin/env bash
# Times the whole `quillmark convert` process on a generated 1M-line module and reports its
# peak memory. Run after scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
lines=${1:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
${BUILD:-build}/bench/generate_module "$lines" "$work/Generated.bas"
size=$(stat -c %s "$work/Generated.bas")
echo "module: $lines lines, $size bytes"
for run in 1 2 3; do
  /usr/bin/time -f "run $run: %e s wall, %M KiB peak" ${BUILD:-build}/quillmark convert "$work/Generated.bas" > "$work/out.html"
done
echo "output: $(stat -c %s "$work/out.html") bytes"
