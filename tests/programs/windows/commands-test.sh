#!/usr/bin/env bash
# quillmark.exe under Wine against the Linux build of the same source:
#   commands-test.sh LOADER PREFIX EXE LINUX_QUILLMARK SOURCE_DIR SHARED_DIR
# Every command's output, byte for byte, and its exit status over the example and the shared
# documents, also from a Japanese path and a 350-character one, and sites with their options;
# the window toolkit's commands refused; then what the program
# does with files: -o that names an input, devices, stale temporary files, a stopped run. Exits
# 77 (skipped) where this machine runs no programs of the loader's architecture or there is no
# Linux build to compare with.
set -uo pipefail
loader=$1 prefix=$2 exe=$3 linux=$4 sources=$5 shared=$6
"$(dirname "$0")/run-under-wine.sh" "$loader" "$prefix" --check || exit
if [ ! -x "$linux" ]; then
  echo "SKIPPED: no Linux build at $linux to compare with (scripts/build.sh makes it)"
  exit 77
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
work=$(mktemp -d "${TMPDIR:-/tmp}/quillmark-exe.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Wine shows the Linux file system as drive Z:.
windows() {
  local arguments=() argument
  for argument in "$@"; do
    [[ $argument == /* ]] && argument="Z:$argument"
    arguments+=("$argument")
  done
  "$loader" "$exe" "${arguments[@]}"
}

# Runs the command on both; their standard output and exit status must be equal.
compare() {
  "$linux" "$@" >"$work/linux.out" 2>/dev/null
  local linuxStatus=$?
  windows "$@" >"$work/windows.out" 2>"$work/windows.err"
  local windowsStatus=$?
  if [ "$linuxStatus" != "$windowsStatus" ] || ! cmp -s "$work/linux.out" "$work/windows.out"; then
    fail "quillmark $*: exit $linuxStatus on Linux, $windowsStatus on Windows; $(cmp "$work/linux.out" \
      "$work/windows.out" 2>&1 | head -1) $(head -c 300 "$work/windows.err")"
  fi
}

# Runs a command that writes a folder (site, export) on both; the folders must be equal.
compareFolders() {
  local command=$1 output=$2
  shift 2
  "$linux" "$command" -o "$work/$output.linux" "$@" >/dev/null 2>&1
  local linuxStatus=$?
  windows "$command" -o "$work/$output.windows" "$@" >/dev/null 2>"$work/windows.err"
  local windowsStatus=$?
  # A path given whole is shown as the system writes it (an index's list of what was left out).
  find "$work/$output.windows" -name '*.html' -exec perl -pi -e \
    's{<code>Z:(\\[^<]*)</code>}{my $p = $1; $p =~ tr(\\)(/); "<code>$p</code>"}ge' {} +
  if [ "$linuxStatus" != "$windowsStatus" ] || ! diff -r "$work/$output.linux" "$work/$output.windows" >/dev/null ||
    [ -z "$(ls -A "$work/$output.linux")" ]; then
    fail "quillmark $command $*: exit $linuxStatus on Linux, $windowsStatus on Windows; $(diff -rq \
      "$work/$output.linux" "$work/$output.windows" 2>&1 | head -3) $(head -c 300 "$work/windows.err")"
  fi
}

compareSites() {
  local output=$1
  shift
  compareFolders site "$output" --quiet "$@"
}

# Every command over the project; with entries, over each entry of each module too.
compareProject() {
  local project=$1 entries=${2:-} caption module entry
  compare list "$project"
  "$linux" list "$project" 2>/dev/null | while IFS= read -r caption; do
    module=${caption#* }
    compare list --module "$module" "$project"
    compare source --module "$module" "$project"
    compare convert --module "$module" "$project"
    compare convert --links --module "$module" "$project"
    [ -n "$entries" ] || continue
    compare convert --page --module "$module" "$project"
    compare convert --page --theme dark --line-numbers --title "$module — 見本 <&> \"頁\"" --module "$module" "$project"
    compare convert --inline-styles --theme editor --links --module "$module" "$project"
    compare convert --inline-styles --page --title "$module — 見本" --module "$module" "$project"
    "$linux" list --module "$module" "$project" | cut -f1 | tail -n +2 | while IFS= read -r entry; do
      compare source --module "$module" --entry "$entry" "$project"
      compare convert --module "$module" --entry "$entry" "$project"
      compare convert --page --line-numbers --module "$module" --entry "$entry" "$project"
    done
  done
}

sample=$sources/examples/Sample
compareProject "$sample" entries
compareSites example "$sample"
compareSites example-options --title '見本 <&> "一覧"' --exclude 'Text*' --line-numbers --theme editor "$sample"
for theme in light dark editor; do
  compare css --theme "$theme"
  compare css --page --theme "$theme"
done
# Standard input as it is: its CR LF and what follows a Ctrl+Z arrive.
for command in source convert; do
  (printf '\x1a'; cat "$sample/Ledger.cls") >"$work/input.cls"
  "$linux" "$command" - <"$work/input.cls" >"$work/linux.out" 2>/dev/null
  windows "$command" - <"$work/input.cls" >"$work/windows.out" 2>/dev/null
  cmp -s "$work/linux.out" "$work/windows.out" || fail "quillmark $command - read standard input otherwise"
done

office=$shared/testdata/office
if [ -d "$office" ]; then
  documents=()
  while IFS= read -r -d '' file; do
    documents+=("$file")
  done < <(find "$office" -type f \( -name '*.xls' -o -name '*.xlsm' -o -name '*.doc' -o -name '*.docm' \
    -o -name '*.pptm' \) -print0 | sort -z)
  while IFS= read -r -d '' file; do
    compareProject "$file"
  done < <(find "$office" -type f \( -name '*.bas' -o -name '*.cls' -o -name '*.frm' \) -print0 | sort -z)
  for file in "${documents[@]}"; do
    compareProject "$file"
    compare textconv "$file"
  done
  compareSites office --recursive "${documents[@]}" "$office/pre-commit-VBA"
  compareFolders export office-export --folders "${documents[@]}"
  compareFolders export office-export-utf8 --encoding utf-8 "$office/pre-commit-VBA/test.xlsm" \
    "$office/pre-commit-VBA/test.xlsm.VBA/code/registerForm"
  # Left out by name at any depth and by a path below the project's folder, Japanese on the way.
  compareSites office-excluded --recursive --exclude folder_annotation --exclude 'code/Tests/*.cls' \
    --title 抜粋 "$office/pre-commit-VBA/test.xlsm.VBA"

  # Damaged copies, cut short or with a byte changed, fail as on Linux, never worse.
  for document in "$office/poi/spreadsheet/SimpleMacro.xls" "$office/calamine/vba.xlsm"; do
    damaged=$work/damaged.${document##*.}
    size=$(stat -c %s "$document")
    for step in 1 3 5 7 9; do
      head -c $((size * step / 10)) "$document" >"$damaged"
      compare source "$damaged"
      cp "$document" "$damaged"
      at=$((size * step * 97 / 1000))
      byte=$(od -An -tu1 -j "$at" -N1 "$damaged")
      printf "\\$(printf %o $((byte ^ 0x5A)))" | dd of="$damaged" bs=1 seek="$at" conv=notrunc status=none
      compare source "$damaged"
    done
  done

  # Japanese file and folder names, as the users of the editor's Japanese texts have them.
  mkdir "$work/売上"
  cp "$office/pre-commit-VBA/test.xlsm" "$work/売上/売上.xlsm"
  cp "$office/ariawase/MonkeyTest.cls" "$work/売上/経費.cls"
  compareProject "$work/売上/売上.xlsm"
  compareProject "$work/売上/経費.cls"
  compareSites japanese "$work/売上" "$work/売上/売上.xlsm"
else
  echo "note: $office is absent; the shared documents are not compared"
fi

# A folder whose Windows path is 350 characters long, past the old limit of 260, reads as on
# Linux.
deep=$work/$(head -c $((145 - ${#work})) /dev/zero | tr '\0' d)
for _ in 1 2; do deep=$deep/$(head -c 100 /dev/zero | tr '\0' e); done
mkdir -p "$deep"
cp "$sample"/*.bas "$sample"/*.cls "$deep/"
[ $((${#deep} + 2)) = 350 ] || fail "the deep folder's path is $((${#deep} + 2)) characters long, not 350"
compareProject "$deep"
compare source --all "$deep"
compareSites deep "$deep"

# The window toolkit's commands are none of quillmark.exe's, nor suggested for a typing error.
for typed in editor window edtor; do
  windows "$typed" "$sample" >/dev/null 2>"$work/windows.err"
  status=$?
  message=$(head -1 "$work/windows.err")
  case $typed:$status:$message in
  edtor:2:*"unknown command"* | editor:2:*"not a command of quillmark.exe"* | window:2:*"not a command of quillmark.exe"*)
    [[ $message != *"did you mean editor"* ]] || fail "quillmark.exe $typed suggests a command it lacks: $message" ;;
  *) fail "quillmark.exe $typed: exit $status, $message" ;;
  esac
done

# -o never names an input, whatever the spelling.
mkdir "$work/in"
cp "$sample/TextTools.bas" "$work/in/TextTools.bas"
windows convert -o "$work/in/../in/TextTools.bas" "$work/in/TextTools.bas" 2>/dev/null
status=$?
if [ "$status" != 2 ] || ! cmp -s "$sample/TextTools.bas" "$work/in/TextTools.bas"; then
  fail "convert -o onto its input: exit $status (2 expected), the input $(cmp -s "$sample/TextTools.bas" \
    "$work/in/TextTools.bas" && echo kept || echo changed)"
fi

# Devices are written into, never replaced: NUL, and CON on a console, where Japanese shows.
mkdir "$work/devices"
(cd "$work/devices" && windows convert -o NUL "$sample/TextTools.bas" >/dev/null 2>&1) ||
  fail "convert -o NUL: exit $?"
[ -z "$(ls -A "$work/devices")" ] || fail "convert -o NUL left $(ls "$work/devices")"
# A terminal wide enough that no line of a message wraps.
console() {
  local command
  printf -v command ' %q' "$loader" "$exe" "$@"
  (cd "$work/devices" && script -qec "stty cols 1000; $command" /dev/null </dev/null 2>&1)
}
shown=$(console convert -o CON "Z:$sample/TextTools.bas")
[[ $shown == *"' 文字列の小道具"* ]] ||
  fail "convert -o CON on a console shows no Japanese: $(head -c 300 <<<"$shown" | od -c | head)"
[[ $(console source "Z:$sample/TextTools.bas") == *"' 文字列の小道具"* ]] ||
  fail "source on a console shows no Japanese"
[[ $(console list "Z:$work/存在しない.bas") == *"存在しない.bas: no such file"* ]] ||
  fail "a message on a console shows no Japanese"
[ -z "$(ls -A "$work/devices")" ] || fail "writing CON left $(ls "$work/devices")"

# Temporary files that a process no longer running left beside the file are removed; the file
# is replaced whole.
mkdir "$work/out"
echo old >"$work/out/page.html"
touch "$work/out/page.html.tmp99999-0" "$work/out/other.html.tmp99999-0"
windows convert -o "$work/out/page.html" "$sample/TextTools.bas" 2>/dev/null || fail "convert -o: exit $?"
"$linux" convert "$sample/TextTools.bas" >"$work/linux.out"
cmp -s "$work/linux.out" "$work/out/page.html" || fail "convert -o wrote other than the Linux build"
[ "$(ls "$work/out")" = "$(printf 'other.html.tmp99999-0\npage.html')" ] ||
  fail "convert -o left $(ls "$work/out" | tr '\n' ' ')(only a stale twin of its own file goes)"
# What a symbolic link leads to is replaced, the link kept.
mkdir -p "$work/linked/real"
echo old >"$work/linked/real/page.html"
ln -s real/page.html "$work/linked/link.html"
windows convert -o "$work/linked/link.html" "$sample/TextTools.bas" 2>/dev/null || fail "convert -o a link: exit $?"
[ -L "$work/linked/link.html" ] && cmp -s "$work/linux.out" "$work/linked/real/page.html" ||
  fail "convert -o a link did not replace what it leads to, keeping the link"

# A read-only file is refused and kept (Wine shows a file without write permission as
# attrib +r shows it).
echo kept >"$work/out/read-only.html"
chmod a-w "$work/out/read-only.html"
windows convert -o "$work/out/read-only.html" "$sample/TextTools.bas" 2>/dev/null
status=$?
[ "$status" = 1 ] && [ "$(cat "$work/out/read-only.html")" = kept ] ||
  fail "convert -o a read-only file: exit $status, the file now $(head -c 60 "$work/out/read-only.html")"

# Ctrl+C (which Wine makes of SIGINT) removes the temporary file and leaves no output. The
# temporary file stands while standard input is still being read.
mkfifo "$work/input"
(
  trap - INT
  exec "$loader" "$exe" convert -o "Z:$work/out/stopped.html" - <"$work/input" 2>/dev/null
) &
stopped=$!
exec 3>"$work/input"
for _ in $(seq 100); do
  compgen -G "$work/out/stopped.html.tmp*" >/dev/null && break
  sleep 0.1
done
if compgen -G "$work/out/stopped.html.tmp*" >/dev/null; then
  kill -INT "$stopped"
  wait "$stopped"
  # Wine's server closes the ended process's files, and so deletes the removed one, a moment
  # after the process itself is gone.
  for _ in $(seq 50); do
    leftover=$(ls "$work/out" | grep stopped)
    [ -z "$leftover" ] && break
    sleep 0.1
  done
  [ -z "$leftover" ] || fail "Ctrl+C left $leftover"
else
  fail "convert -o from standard input made no temporary file"
  kill "$stopped"
fi
exec 3>&-

[ "$failures" = 0 ] || exit 1
echo "quillmark.exe matches the Linux build"
