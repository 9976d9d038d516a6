#!/usr/bin/env bash
# Draws the README's pictures of pasted code in headless Chromium: docs/inline-styles.png, a
# procedure of the example converted with --inline-styles beside the same procedure's fragment of
# classes pasted into a page without a style sheet, as an e-mail or a word processor receives
# each; docs/blog-recipe.png, the fragment and `quillmark css` in a blog's own styled page;
# docs/markdown-post.png, a Markdown post with the --format markdown output rendered by cmark
# beside the fragment rendered the same way; docs/numbered-fragment.png, a fragment with
# --line-numbers and --highlight-lines; docs/terminal.png, --format ansi as a terminal shows it
# (through aha, which turns the escape sequences into HTML).
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

# shoot NAME WIDTH HEIGHT: draws $work/NAME.html as docs/NAME.png.
shoot() {
  "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run --user-data-dir="$work/profile" \
    --window-size="$2,$3" --screenshot="$work/$1.png" "file://$work/$1.html" 2>/dev/null
  mv "$work/$1.png" "docs/$1.png"
  echo "docs/$1.png"
}
mv "$work/page.html" "$work/inline-styles.html"
shoot inline-styles 1440 660

for tool in cmark aha; do
  command -v $tool >/dev/null || {
    echo "docs-picture.sh: $tool is not installed (scripts/install-deps.sh installs it)" >&2
    exit 1
  }
done

# A blog with its own looks; the fragment's sheet changes nothing of it.
blog_head() {
  printf '<!DOCTYPE html>\n<html>\n<head>\n<meta charset="utf-8">\n<style>\n'
  printf 'body { margin: 0; background: #fdf6e3; color: #3b2f2f; font: 17px/1.6 Georgia, serif; }\n'
  printf '.column { max-width: 46em; margin: 0 auto; padding: 1em 1.5em; border-top: 4px solid #e0c9a6; }\n'
  printf 'h1 { font-weight: normal; color: #7a3e00; text-align: center; } a { color: #d2691e; }\n'
  printf '</style>\n<style>\n'
  build/quillmark css
  printf '</style>\n</head>\n<body>\n<div class="column">\n'
}
{
  blog_head
  printf '<h1>Summing a month in VBA</h1>\n<p>The <a href="#x">ledger</a> adds up a month like this:</p>\n'
  convert --links
  printf '\n<p>Each <em>GoTo</em> target and label keeps its own colour.</p>\n</div>\n</body>\n</html>\n'
} >"$work/blog-recipe.html"
shoot blog-recipe 1100 820

# The same post in Markdown, rendered by a CommonMark implementation: the --format markdown
# output stays one HTML block; the fragment breaks at its first blank line.
post() {
  printf '# Summing a month\n\nThe procedure walks the sheet:\n\n'
  convert "$@"
  printf '\n\nThat is all.\n'
}
{
  blog_head
  printf '<style>.column { max-width: none; } h1 { text-align: left; }</style>\n'
  printf '<div style="display: grid; grid-template-columns: 1fr 1fr; gap: 24px">\n<div>\n'
  printf '<p style="color: #7a3e00">quillmark convert --format markdown</p>\n'
  post --format markdown | cmark --unsafe
  printf '</div>\n<div>\n<p style="color: #7a3e00">quillmark convert, the same post</p>\n'
  post | cmark --unsafe
  printf '</div>\n</div>\n</div>\n</body>\n</html>\n'
} >"$work/markdown-post.html"
shoot markdown-post 1500 980

{
  blog_head
  printf '<p>Lines 53 and 54 call the ledger:</p>\n'
  build/quillmark convert --line-numbers --highlight-lines 53-54 --module BookKeeping --entry MonthBalance \
    examples/Sample
  printf '\n</div>\n</body>\n</html>\n'
} >"$work/numbered-fragment.html"
shoot numbered-fragment 1000 420

{
  printf '$ quillmark convert --format ansi --line-numbers --highlight-lines 53 --module BookKeeping \\\n'
  printf '    --entry MonthBalance examples/Sample\n'
  build/quillmark convert --format ansi --colors 256 --line-numbers --highlight-lines 53 --module BookKeeping \
    --entry MonthBalance examples/Sample
} | aha --black --title terminal | sed 's|<pre>|<pre style="font: 15px/1.3 \x27DejaVu Sans Mono\x27, monospace; margin: 12px">|' \
  >"$work/terminal.html"
shoot terminal 900 330
