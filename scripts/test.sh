#!/usr/bin/env bash
# Installs what is needed, builds everything and runs every test, makes the Debian packages and
# tries them installed, builds the web edition and tests it against the native command, then
# runs the engine's tests once more under AddressSanitizer and UndefinedBehaviorSanitizer, and
# the concurrent conversions under ThreadSanitizer; then builds Quillmark.dll, quillmark.exe and
# their setup for Windows and runs their tests under Wine, quillmark.exe's output against the
# Linux build's made first.
set -euo pipefail
cd "$(dirname "$0")/.."
# Our own runs hold the code to a warning-free build.
export QUILLMARK_WERROR=ON
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure
# The Debian packages of that build, installed into a scratch folder and tried.
scripts/package.sh
tests/packaging/debian-test.sh dist/debian build

# The web edition, built with Emscripten: its package against that build, and in Chromium.
scripts/install-deps.sh web
scripts/build-web.sh
tests/web/run-tests.sh build/quillmark build-web/npm

cmake -G Ninja -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_WERROR=ON \
  -DQUILLMARK_GUI=OFF -DQUILLMARK_BENCH=OFF -DQUILLMARK_SANITIZE=ON >/dev/null
cmake --build build-sanitize
ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure

cmake -G Ninja -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DQUILLMARK_WERROR=ON \
  -DQUILLMARK_GUI=OFF -DQUILLMARK_BENCH=OFF -DQUILLMARK_SANITIZE=thread >/dev/null
cmake --build build-tsan --target conversion_tests
# Without address-space randomisation: some kernels lay out memory where ThreadSanitizer
# cannot map its shadow.
setarch "$(uname -m)" -R ctest --test-dir build-tsan --output-on-failure -R Concurrent

scripts/build-windows.sh
# The 32-bit tests are skipped only where the kernel runs no 32-bit programs; a missing Wine
# fails them.
loader=0
tests/programs/windows/run-under-wine.sh /usr/lib/wine/wine build-windows/x86/wineprefix --check >/dev/null || loader=$?
if [ "$loader" -eq 77 ]; then
  echo "Wine tests of the 32-bit library skipped: this machine runs no 32-bit programs (its kernel" \
    "lacks 32-bit support); the library is still built and its imports and exports checked."
fi
for arch in x86 x64; do
  ctest --test-dir "build-windows/$arch" --output-on-failure
done
# The setup installed, upgraded and removed in a fresh Wine prefix: the 32-bit one, or the 64-bit
# one where 32-bit programs do not run.
tests/programs/setup/installer-test.sh dist/windows
