#!/usr/bin/env bash
# Draws docs/web-markdown-post.png in headless Chromium: a blog post in Markdown whose ```vba fence
# the npm package's markdown-it plugin turned into Quillmark's fragment, styled by css().
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build-web/npm/index.mjs ] || scripts/build-web.sh >/dev/null
browser=$(command -v chromium || command -v chromium-browser) || {
  echo "docs-picture-web.sh: Chromium is not installed" >&2
  exit 1
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  printf '# Counting the ledger\n\nThe class keeps its entries in a collection; `Count` reads it.\n\n```vba\n'
  sed -n '/^Public Property Get Count/,/^End Property/p' examples/Sample/Ledger.cls | tr -d '\r'
  printf '```\n\nThat is all it takes.\n'
} >"$work/post.md"
node --input-type=module -e '
const [packageFolder, post, page] = process.argv.slice(1);
const fs = await import("node:fs");
const { createRequire } = await import("node:module");
const { css } = await import(packageFolder + "/index.mjs");
const { default: quillmark } = await import(packageFolder + "/markdown-it.mjs");
const MarkdownIt = createRequire(packageFolder + "/package.json")("markdown-it");
const html = new MarkdownIt().use(quillmark).render(fs.readFileSync(post, "utf8"));
fs.writeFileSync(page, `<!DOCTYPE html><html><head><meta charset="utf-8"><style>
body { margin: 0; background: #fdf6e3; color: #3b2f2f; font: 18px/1.6 Georgia, serif; }
main { max-width: 40em; margin: 0 auto; padding: 1em 1.5em; }
${css("light")}</style></head><body><main>${html}</main></body></html>`);
' "$PWD/build-web/npm" "$work/post.md" "$work/page.html"
"$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --no-first-run --user-data-dir="$work/profile" \
  --window-size=900,380 --screenshot="$work/markdown-post.png" "file://$work/page.html" 2>/dev/null
mv "$work/markdown-post.png" docs/web-markdown-post.png
echo "docs/web-markdown-post.png"
