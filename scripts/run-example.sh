#!/usr/bin/env bash
# Installs what is needed, builds the command and prints the HTML fragment of the example module.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh quillmark
build/quillmark convert examples/Sample
