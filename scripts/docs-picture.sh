#!/usr/bin/env bash
# Draws docs/inline-styles.png in headless Chromium: a procedure of the example converted with
# --inline-styles, beside the same procedure's fragment of classes pasted into a page without a
# style sheet, as an e-mail or a word processor receives each.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --command-line-only quillmark >/dev/null
browser=$(command -v chromium || command -v chromium-browser) || {
  echo "docs-picture.sh: Chromium is not installed" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

convert() { build/quillmark convert --module BookKeeping --entry SummarizeMonth "$@" examples/Sample; }
{
  # The page's own layout is inline too: nothing on it styles the fragments' classes.
  printf '<!DOCTYPE html>\n<html>\n<head>\n<meta charset="utf-8">\n</head>\n'
  printf '<body style="margin: 16px 20px; font-family: sans-serif">\n'
  printf '<div style="display: grid; grid-template-columns: max-content 1fr; gap: 28px">\n'
  printf '<div>\n<h3>quillmark convert --inline-styles</h3>\n'
  convert --inline-styles
  printf '\n</div>\n<div>\n<h3>quillmark convert, pasted without its style sheet</h3>\n'
  convert
  printf '\n</div>\n</div>\n</body>\n</html>\n'
} >"$work/page.html"

"$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run --user-data-dir="$work/profile" \
  --window-size=1440,660 --screenshot="$work/inline-styles.png" "file://$work/page.html" 2>/dev/null
mv "$work/inline-styles.png" docs/inline-styles.png
echo "docs/inline-styles.png"
