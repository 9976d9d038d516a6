#!/usr/bin/env bash
# Installs what the command line needs, builds it and prints the HTML fragment of the example
# module.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh command-line
scripts/build.sh --command-line-only quillmark
build/quillmark convert examples/Sample
