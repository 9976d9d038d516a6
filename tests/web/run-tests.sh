#!/usr/bin/env bash
# The web edition's tests: its package against the native command byte for byte, its markdown-it
# plugin, a Markdown post rendered by the plugin in Chromium, and the offline page opened from disk.
#   tests/web/run-tests.sh build/quillmark build-web/npm
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QUILLMARK=$(realpath "$1") QUILLMARK_PACKAGE=$(realpath "$2")
node --test "$here/same_output.test.mjs" "$here/markdown_it.test.mjs"
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
