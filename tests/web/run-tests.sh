#!/usr/bin/env bash
# The web edition's tests: its package against the native command byte for byte, its markdown-it
# plugin, its TypeScript types, a Markdown post rendered by the plugin in Chromium, and the offline page opened from disk.
#   tests/web/run-tests.sh build/quillmark build-web/npm
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QUILLMARK=$(realpath "$1") QUILLMARK_PACKAGE=$(realpath "$2")
node --test "$here/same_output.test.mjs" "$here/markdown_it.test.mjs"
# The TypeScript types, compiled against their use in the README, in a folder of their own.
types=$(mktemp -d)
trap 'rm -rf "$types"' EXIT
cp "$here/types/package.json" "$here/types/tsconfig.json" "$here/types/usage.ts" "$types/"
(cd "$types" && npm install --no-package-lock --no-audit --no-fund --loglevel=error >/dev/null)
ln -s "$QUILLMARK_PACKAGE" "$types/node_modules/quillmark"
"$types/node_modules/.bin/tsc" -p "$types"
echo "the package's types compile as the README uses them"
# A browser test; 77 is its "Chromium cannot start here".
browser_test() {
  local status=0
  python3 "$@" || status=$?
  if [ "$status" -eq 77 ]; then
    echo "$(basename "$1") skipped: Chromium cannot start here"
  elif [ "$status" -ne 0 ]; then
    exit "$status"
  fi
}
browser_test "$here/markdown_post_test.py" "$QUILLMARK_PACKAGE"
browser_test "$here/page_test.py" "$QUILLMARK" "$QUILLMARK_PACKAGE/../quillmark.html"
