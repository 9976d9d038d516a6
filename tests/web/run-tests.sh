#!/usr/bin/env bash
# The web edition's tests: its package against the native command byte for byte, its markdown-it
# plugin, and a Markdown post rendered by the plugin in Chromium.
#   tests/web/run-tests.sh build/quillmark build-web/npm
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
export QUILLMARK=$(realpath "$1") QUILLMARK_PACKAGE=$(realpath "$2")
node --test "$here/same_output.test.mjs" "$here/markdown_it.test.mjs"
status=0
python3 "$here/markdown_post_test.py" "$QUILLMARK_PACKAGE" || status=$?
if [ "$status" -eq 77 ]; then
  echo "the Markdown post's browser test skipped: Chromium cannot start here"
elif [ "$status" -ne 0 ]; then
  exit "$status"
fi
