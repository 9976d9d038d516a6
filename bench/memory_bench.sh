#!/usr/bin/env bash
# Peak resident memory of `quillmark convert` and `quillmark site` against the size of their
# input: a generated module and a stream of short lines, each as a file and on standard input,
# and a module whose code is one long line (the statements of generated modules, or names and
# operators only), converted and made into a site. Arguments: the size of the large inputs and
# of the long line in MB (default 200 and 48). Run after scripts/build.sh; needs GNU time
# (Debian package time).
set -euo pipefail
cd "$(dirname "$0")/.."
size=${1:-200}
line=${2:-48}
build=${BUILD:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# measure LABEL INPUT STDIN COMMAND...: one run's peak memory and time, against INPUT's size.
measure() {
  local label=$1 input=$2 stdin=$3
  shift 3
  /usr/bin/time -f "%M %e" -o "$work/time" "$@" < "$stdin" > /dev/null
  local kib seconds
  read -r kib seconds < "$work/time"
  awk -v label="$label" -v kib="$kib" -v s="$seconds" -v bytes="$(stat -c %s "$input")" 'BEGIN {
    printf "%-44s %8.1f MB %8.1f MB %6.2fx %7.2f s\n", label, bytes / 1e6, kib * 1024 / 1e6, kib * 1024 / bytes, s }'
}

# A module of one line: "Sub Long()", the line, "End Sub".
long_module() {
  printf 'Sub Long()\r\n'
  cat
  printf '\r\nEnd Sub\r\n'
}

mkdir "$work/code" "$work/names"
"$build/bench/generate_module" $((size * 1000000 / 32)) "$work/Generated.bas"
head -c $((size * 1000000)) < <(yes 'x = 1') > "$work/Short.bas"
# Statements without comments, joined by ": " up to the line's size.
"$build/bench/generate_module" $((line * 1000000 / 24)) "$work/source.bas"
LC_ALL=C awk -v max=$((line * 1000000)) -v quote="'" 'BEGIN { ORS = "" }
  NR > 1 && index($0, quote) == 0 {
    sub(/\r$/, ""); sub(/^ +/, "")
    if (n + length($0) + 2 > max) exit
    print $0 ": "; n += length($0) + 2 }' "$work/source.bas" | long_module > "$work/code/Long.bas"
{ printf 'x = a'; head -c $((line * 1000000)) < <(yes ' + b' | tr -d '\n'); } | long_module > "$work/names/Long.bas"
rm "$work/source.bas"
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-44s %11s %11s %7s %9s\n' "" input peak ratio time

measure "convert, generated module, file" "$work/Generated.bas" /dev/null "$build/quillmark" convert "$work/Generated.bas"
measure "convert, generated module, standard input" "$work/Generated.bas" "$work/Generated.bas" "$build/quillmark" convert -
measure "convert, short lines, file" "$work/Short.bas" /dev/null "$build/quillmark" convert "$work/Short.bas"
measure "convert, short lines, standard input" "$work/Short.bas" "$work/Short.bas" "$build/quillmark" convert -
for kind in code names; do
  measure "convert, one line of $kind" "$work/$kind/Long.bas" /dev/null "$build/quillmark" convert "$work/$kind/Long.bas"
  measure "site, one line of $kind" "$work/$kind/Long.bas" /dev/null "$build/quillmark" site --quiet \
    -o "$work/site-$kind" "$work/$kind"
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
