#!/usr/bin/env bash
# Times `quillmark site` over a folder of MODULES generated modules (about 6.6 MB of source for
# 400) with one and two jobs, and compares its peak memory with the largest module: over the
# folder, over one module as large as the whole folder, and over one tiny module (what the
# process costs without any module). Then times it once over 20,000 one-procedure modules whose
# names differ only in characters a file name cannot hold (all become "Module_____"), against
# 20,000 whose names differ. Run after scripts/build.sh; uses hyperfine when installed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD:-build}
modules=${1:-400}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir "$work/folder" "$work/one" "$work/tiny"
total=0
for i in $(seq 1 "$modules"); do
  lines=$((370 + (i * 37) % 300)) # 370 to 669 lines, about 16.5 KB a module on average
  "$build/bench/generate_module" "$lines" "$work/folder/Module$i.bas" "Module$i"
  total=$((total + lines))
done
"$build/bench/generate_module" "$total" "$work/one/Whole.bas" Whole
printf 'Attribute VB_Name = "Tiny"\r\nSub A()\r\nEnd Sub\r\n' > "$work/tiny/Tiny.bas"
largest=$(stat -c %s "$work"/folder/*.bas | sort -n | tail -1)
echo "folder: $modules modules, $(du -cb "$work"/folder/*.bas | tail -1 | cut -f1) bytes, the largest $largest bytes"
echo "one module: $(stat -c %s "$work/one/Whole.bas") bytes"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"

if command -v hyperfine > /dev/null; then
  hyperfine --warmup 2 --runs 15 -N \
    "$build/quillmark site --quiet --jobs 1 -o $work/site $work/folder" \
    "$build/quillmark site --quiet --jobs 2 -o $work/site $work/folder"
else
  for jobs in 1 2; do
    for run in 1 2 3 4 5; do
      /usr/bin/time -f "--jobs $jobs, run $run: %e s wall" "$build/quillmark" site --quiet --jobs "$jobs" \
        -o "$work/site" "$work/folder"
    done
  done
fi
for what in folder one tiny; do
  for jobs in 1 2; do
    /usr/bin/time -f "$what, --jobs $jobs: %e s wall, %M KiB peak" "$build/quillmark" site --quiet \
      --jobs "$jobs" -o "$work/site-$what" "$work/$what"
  done
done

mkdir "$work/clash" "$work/distinct"
unsafe='<>:|?*\/'
for i in $(seq 0 19999); do
  name=Module
  for digit in 0 1 2 3 4; do
    name+=${unsafe:$(( (i >> (3 * digit)) & 7 )):1}
  done
  printf 'Attribute VB_Name = "%s"\r\nSub P%d()\r\nEnd Sub\r\n' "$name" "$i" > "$work/clash/M$i.bas"
  printf 'Attribute VB_Name = "Module%d"\r\nSub P%d()\r\nEnd Sub\r\n' "$i" "$i" > "$work/distinct/M$i.bas"
done
for what in distinct clash; do
  /usr/bin/time -f "20,000 modules, names $what: %e s wall, %U s user, %S s system" "$build/quillmark" site --quiet \
    -o "$work/site-$what" "$work/$what"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
