#!/usr/bin/env bash
# Times the whole `quillmark convert` process against the floor program of
# ../shared/bench/floor.cpp (read the file, escape < > &, write it), built with -O2 and run in the
# same hyperfine runs, and reports peak memory. The module:
#   bench/command_bench.sh [LINES]   a generated module (209,000 lines, 6.6 MB, by default)
#   bench/command_bench.sh --real    the real modules of ../shared/bench/realcode, concatenated
#                                    until the file holds about 6.6 MB
#   bench/command_bench.sh FILE      any module file
# BASELINE=path/to/an/older/quillmark times that one too, in the same run; ROUNDS (6) rounds of
# five runs each. Run after scripts/build.sh; needs hyperfine (Debian package) and python3.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
shared=${SHARED:-../shared}
floor=${FLOOR:-$shared/bench/floor.cpp}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

input=${1:-209000}
if [ "$input" = --real ]; then
  realcode=$shared/bench/realcode
  if [ ! -d "$realcode" ]; then
    echo "no real modules in $realcode" >&2
    exit 1
  fi
  module=$work/RealCode.bas
  : > "$module"
  while [ "$(stat -c %s "$module")" -lt 6600000 ]; do
    cat "$realcode"/*/*.bas "$realcode"/*/*.cls >> "$module"
  done
  echo "module: real code of $realcode, $(wc -l < "$module") lines, $(stat -c %s "$module") bytes"
elif [[ $input =~ ^[0-9]+$ ]]; then
  module=$work/Generated.bas
  "$build/bench/generate_module" "$input" "$module"
  echo "module: generated, $input lines, $(stat -c %s "$module") bytes"
else
  module=$input
  echo "module: $module, $(stat -c %s "$module") bytes"
fi
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)"
g++ -O2 -o "$work/floor" "$floor"
commands=("$work/floor $module" "$build/quillmark convert $module")
if [ -n "${BASELINE:-}" ]; then
  commands+=("$BASELINE convert $module")
fi
# Rounds of a few runs of each command in turn, so that a change in the machine's load during
# the benchmark falls on every command alike; the medians of all runs are compared.
for round in $(seq "${ROUNDS:-6}"); do
  hyperfine --warmup 2 --runs 5 -N --style none --export-json "$work/round$round.json" "${commands[@]}" \
    >/dev/null 2>"$work/hyperfine.log" || { cat "$work/hyperfine.log" >&2; exit 1; }
done
python3 - "$work"/round*.json <<'EOF_PY'
import json, statistics, sys
runs = {}
for path in sys.argv[1:]:
    for result in json.load(open(path))["results"]:
        runs.setdefault(result["command"], []).extend(result["times"])
floor = statistics.median(next(iter(runs.values())))
for command, times in runs.items():
    median = statistics.median(times)
    print(f"{median * 1000:7.1f} ms median, {min(times) * 1000:7.1f} ms fastest, {median / floor:4.2f}x the floor"
          f"  ({len(times)} runs)  {command}")
EOF_PY
for run in 1 2 3; do
  /usr/bin/time -f "run $run: %e s wall, %M KiB peak" "$build/quillmark" convert "$module" > "$work/out.html"
done
echo "output: $(stat -c %s "$work/out.html") bytes"
