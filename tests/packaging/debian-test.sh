#!/usr/bin/env bash
# The Debian packages that scripts/package.sh made, installed into a scratch root: the split
# (the command's package needs no Qt), lintian, quillmark --version and a conversion from the
# installed files, the desktop program found from the installed command, the manual page
# (rendered without warnings, every command and option of --help in it), and the bash and zsh
# completions (commands, options, choices, file names by extension). Then `cmake --install`
# of BUILD puts its files into the usual places and nowhere else.
#   debian-test.sh DIST BUILD    (DIST holds the .deb files; BUILD the build they came from)
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 DIST BUILD" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
dist=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

cli=("$dist"/quillmark_*.deb)
desktop=("$dist"/quillmark-desktop_*.deb)
[ ${#cli[@]} -eq 1 ] && [ -f "${cli[0]}" ] || fail "no single quillmark package in $dist"
for deb in "$dist"/quillmark*.deb; do
  printf '%s: %s bytes, installed %s KiB\n  Depends: %s\n' "${deb##*/}" "$(stat -c %s "$deb")" \
    "$(dpkg-deb -f "$deb" Installed-Size)" "$(dpkg-deb -f "$deb" Depends)"
done
depends=$(dpkg-deb -f "${cli[0]}" Depends)
[[ $depends != *qt* ]] || fail "the quillmark package depends on Qt: $depends"
lintian --fail-on error,warning "$dist"/quillmark*.deb || fail "lintian (above)"

root=$tmp/root
for deb in "$dist"/quillmark*.deb; do
  dpkg-deb -x "$deb" "$root"
done
quillmark=$root/usr/bin/quillmark
leftovers=$(cd "$root" && find . -type f \( -name '*.a' -o -path '*/include/*' -o -path '*test*' -o -path '*bench*' \))
[ -z "$leftovers" ] || fail "the packages hold $leftovers"

version=$(dpkg-deb -f "${cli[0]}" Version)
[ "$("$quillmark" --version)" = "quillmark $version" ] || fail "quillmark --version: $("$quillmark" --version)"
"$quillmark" convert --links --module Ledger "$source_dir/examples/Sample" >"$tmp/Ledger.html"
cmp "$tmp/Ledger.html" "$source_dir/examples/expected/Sample/Ledger.links.html" ||
  fail "the installed quillmark converts Ledger otherwise than the reference"
if [ ${#desktop[@]} -eq 1 ] && [ -f "${desktop[0]}" ]; then
  # quillmark finds quillmark-desktop in libexec, and that the add-in library beside it.
  verbose=$("$quillmark" --version --verbose) || fail "quillmark --version --verbose"
  [[ $verbose == *"Library: $root/usr/libexec/quillmark/libQuillmark.so"* ]] ||
    fail "quillmark --version --verbose read no installed add-in library: $verbose"
fi

# The commands as --help lists them.
mapfile -t commands < <("$quillmark" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z]\+\) .*/\1/p')
[ ${#commands[@]} -gt 0 ] || fail "quillmark --help lists no commands"

# The manual page: no warning from groff, and in each command's part every option of its --help.
export MANWIDTH=100
manual=$(man --warnings -l "$root/usr/share/man/man1/quillmark.1.gz" 2>"$tmp/warnings")
[ ! -s "$tmp/warnings" ] || fail "man: $(cat "$tmp/warnings")"
for command in "${commands[@]}"; do
  part=$(awk -v heading="   $command" '$0 == heading { on = 1; next } on && /^(   )?[^ ]/ { exit } on' <<<"$manual")
  [ -n "$part" ] || fail "the manual page has no part for $command"
  for option in $("$quillmark" "$command" --help | grep -oE '^ +(-[a-zA-Z],)?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
    grep -qe "$option" <<<"$part" || fail "the manual page's part for $command lacks $option"
  done
done

# The completions, over a folder with a module file, a document, another file and a folder.
# Each case: the line, with the cursor at its end; the words that must be offered; words that
# must not be.
cases=(
  "quillmark |${commands[*]}|--theme"
  "quillmark conv|convert|list"
  "quillmark convert --th|--theme|--title"
  "quillmark css --theme |light dark editor|"
  "quillmark convert --theme=d|dark|light"
  "quillmark site --jobs 2 |Book.bas Sales.XLSM folder|notes.txt"
  "quillmark site -o |folder|Book.bas"
  "quillmark register |notes.txt|"
)
mkdir -p "$tmp/files/folder"
touch "$tmp/files/Book.bas" "$tmp/files/Sales.XLSM" "$tmp/files/notes.txt"
bash_complete() {
  bash --norc --noprofile -c '
    source "$1"
    line=$2
    read -ra COMP_WORDS <<<"${line//=/ = }" # readline makes "=" a word of its own
    [[ $line != *" " ]] || COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$line COMP_POINT=${#line}
    function=$(complete -p quillmark | sed -n "s/.* -F \([^ ]*\) .*/\1/p")
    "$function" quillmark "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD-1]}"
    printf "%s\n" "${COMPREPLY[@]}"' _ "$root/usr/share/bash-completion/completions/quillmark" "$1"
}
lines=()
for case in "${cases[@]}"; do
  lines+=("${case%%|*}")
done
(cd "$tmp/files" && "$here/zsh-complete.zsh" "$root/usr/share/zsh/vendor-completions" "$tmp/zsh" "${lines[@]}")
n=0
for case in "${cases[@]}"; do
  IFS='|' read -r line offered refused <<<"$case"
  for shell in bash zsh; do
    if [ $shell = bash ]; then
      words=$(cd "$tmp/files" && bash_complete "$line")
    else
      words=$(cat "$tmp/zsh/$n")
    fi
    for word in $offered; do
      grep -qxF -- "$word" <<<"$words" || fail "$shell completes \"$line\" without $word: $(echo $words)"
    done
    for word in $refused; do
      ! grep -qxF -- "$word" <<<"$words" || fail "$shell completes \"$line\" with $word"
    done
  done
  n=$((n + 1))
done

# The install rules: the command in bin, the rest in the usual places below the prefix.
# `cmake --install` lists what it installed in BUILD/install_manifest.txt: a user's list stays.
manifest=$build/install_manifest.txt
if [ -f "$manifest" ]; then
  cp -p "$manifest" "$tmp/manifest"
  trap 'cp -p "$tmp/manifest" "$manifest"; rm -rf "$tmp"' EXIT
else
  trap 'rm -f "$manifest"; rm -rf "$tmp"' EXIT
fi
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null
stray=$(cd "$tmp/prefix" && find . -type f | grep -vxE '\./bin/quillmark|\./libexec/quillmark/.*|\./share/(man/man1/quillmark\.1\.gz|bash-completion/completions/quillmark|zsh/[a-z-]+/_quillmark)' || true)
[ -z "$stray" ] || fail "cmake --install put files elsewhere: $stray"
echo "The Debian packages install, run, and carry their manual page and completions."
