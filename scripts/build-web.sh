#!/usr/bin/env bash
# Builds the web edition with Debian's Emscripten into build-web/: the module
# (build-web/quillmark.mjs and quillmark.wasm) and the npm package built from
# src/programs/web/package into build-web/npm, its dependencies installed from the npm registry;
# and the offline page, build-web/quillmark.html, one file, copied into dist/web for the release.
# QUILLMARK_WERROR=ON in the environment makes compiler warnings errors.
set -euo pipefail
cd "$(dirname "$0")/.."
# Emscripten's tools run on the system's Node and find Debian's acorn there.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -G Ninja -S . -B build-web -DCMAKE_BUILD_TYPE=Release \
  ${QUILLMARK_WERROR:+-DQUILLMARK_WERROR=$QUILLMARK_WERROR} >/dev/null
cmake --build build-web --target quillmark_web
package=build-web/npm
mkdir -p "$package/dist"
cp -r src/programs/web/package/. "$package/"
cp build-web/quillmark.mjs build-web/quillmark.wasm "$package/dist/"
(cd "$package" && npm install --no-package-lock --no-audit --no-fund --loglevel=error >/dev/null)
echo "built $package"
page=build-web/page
mkdir -p "$page" dist/web
cp src/programs/web/page/package.json "$page/"
(cd "$page" && npm install --no-package-lock --no-audit --no-fund --loglevel=error >/dev/null)
node src/programs/web/page/build-page.mjs build-web "$page" build-web/quillmark.html
cp build-web/quillmark.html dist/web/
echo "built build-web/quillmark.html (and dist/web/quillmark.html)"
