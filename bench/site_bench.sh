#!/usr/bin/env bash
# Times `quillmark site` over a folder of MODULES generated modules (about 6.6 MB of source for
# 400) with one and two jobs, and compares its peak memory with the largest module: over the
# folder, over one module as large as the whole folder, and over one tiny module (what the
# process costs without any module). Then times it once over 20,000 one-procedure modules whose
# names differ only in characters a file name cannot hold (all become "Module_____"), against
# 20,000 whose names differ. Then links over real code and the growth to 50,000 modules (below).
# Run after scripts/build.sh; uses hyperfine when installed.
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

# Links over real code: the projects of realcode repeated to about 400 modules, each copy a
# project of its own (module names must differ within one). Links and "Used by" entries per page,
# pages a second, and each page's size against BASELINE's page (another build's quillmark) when
# given, else against the same page without its links.
real=${REALCODE:-../shared/bench/realcode}
if [ -d "$real" ]; then
  repos=("$real"/*/)
  per_copy=$(find "$real" -name '*.bas' -o -name '*.cls' | wc -l)
  copies=$(( (400 + per_copy - 1) / per_copy ))
  projects=()
  for c in $(seq 1 "$copies"); do
    for repo in "${repos[@]}"; do
      copy="$work/real/$c/$(basename "$repo")"
      mkdir -p "$copy"
      cp "$repo"/*.bas "$repo"/*.cls "$copy"/ 2> /dev/null || true
      projects+=("$copy")
    done
  done
  echo "real code: $((copies * per_copy)) modules in ${#projects[@]} projects"
  for run in 1 2 3; do
    /usr/bin/time -f "real code, --jobs 1, run $run: %e s wall, %U s user" "$build/quillmark" site --quiet \
      --jobs 1 -o "$work/site-real" "${projects[@]}"
  done
  if [ -n "${BASELINE:-}" ]; then
    "$BASELINE" site --quiet -o "$work/site-baseline" "${projects[@]}"
  fi
  python3 - "$work/site-real" ${BASELINE:+"$work/site-baseline"} << 'EOF'
import pathlib, re, statistics, sys
site = pathlib.Path(sys.argv[1])
baseline = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
links, used, growth = [], [], []
for page in sorted(site.glob("*/*.html")):
    html = page.read_text()
    code = html[html.index("<main"):]
    navs = re.findall(r'<nav class="UsedBy">.*?</nav>', code)
    links.append(code.count("<a href="))
    used.append(sum(nav.count("<a href=") for nav in navs))
    if baseline:
        before = len((baseline / page.relative_to(site)).read_bytes())
    else:
        unlinked = re.sub(r'<a href="[^"]*">|</a>', "", re.sub(r'<nav class="UsedBy">.*?</nav>', "", html))
        before = len(unlinked.encode())
    growth.append(len(html.encode()) / before - 1)
print(f"{len(links)} pages; links a page: median {statistics.median(links)}, max {max(links)}, "
      f"{sum(links)} in all, {sum(used)} of them in Used by lists")
print(f"page size against {'the baseline' if baseline else 'the page without links'}: median "
      f"{statistics.median(growth):+.1%}, largest {max(growth):+.1%}")
EOF
fi

# Growth: N one-procedure modules, each calling the next module's procedure and, qualified, the
# procedure of the module seven on, at 12,500 and at 50,000 modules.
for n in 12500 50000; do
  mkdir "$work/chain-$n"
  for i in $(seq 0 $((n - 1))); do
    printf 'Attribute VB_Name = "M%d"\r\nSub P%d()\r\n    P%d\r\n    M%d.P%d\r\nEnd Sub\r\n' \
      "$i" "$i" $(( (i + 1) % n )) $(( (i + 7) % n )) $(( (i + 7) % n )) > "$work/chain-$n/M$i.bas"
  done
  /usr/bin/time -f "$n chained modules: %e s wall, %U s user, %S s system, %M KiB peak" "$build/quillmark" site \
    --quiet -o "$work/site-chain-$n" "$work/chain-$n"
  rm -rf "$work/chain-$n" "$work/site-chain-$n"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
