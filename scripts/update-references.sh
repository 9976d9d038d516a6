#!/usr/bin/env bash
# Makes every reviewed reference file anew with the current build: the example's HTML
# (examples/expected) and the test tree's site (tests/cli/site/expected). Then shows what
# changed, for review; git keeps the reviewed versions until the change is committed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh quillmark
quillmark=$PWD/build/quillmark

for file in examples/expected/Sample/*.html; do
  # M[.links][.inline-THEME].html
  name=$(basename "$file" .html)
  module=${name%%.*}
  options=()
  [[ $name == *.links* ]] && options+=(--links)
  [[ $name == *.inline-* ]] && options+=(--inline-styles --theme "${name##*.inline-}")
  "$quillmark" convert "${options[@]}" --module "$module" -o "$file" examples/Sample
done

site=$(mktemp -d)
trap 'rm -rf "$site"' EXIT
"$quillmark" site --recursive --quiet -o "$site" tests/cli/site/OrderDesk
rm -rf tests/cli/site/expected
cp -R "$site" tests/cli/site/expected

git status --short -- examples/expected tests/cli/site/expected
git --no-pager diff --stat -- examples/expected tests/cli/site/expected
