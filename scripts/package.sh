#!/usr/bin/env bash
# Makes the Debian packages from the Release build in build/ (built first when it is not up to
# date) into dist/debian: quillmark_VERSION_ARCH.deb, the command with its manual page and
# completions, and quillmark-desktop_VERSION_ARCH.deb, the window, the stand-in editor and the
# add-in library. Prints each package's size and dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh quillmark manual quillmark-desktop Quillmark
rm -rf build/packages
cpack --config build/CPackConfig.cmake -B build/packages >build/cpack.log 2>&1 || { cat build/cpack.log >&2; exit 1; }
mkdir -p dist/debian
rm -f dist/debian/quillmark*.deb
for deb in build/packages/*.deb; do
  cp "$deb" dist/debian/
  printf '%s: %s bytes, installed %s KiB\n  Depends: %s\n' "dist/debian/${deb##*/}" "$(stat -c %s "$deb")" \
    "$(dpkg-deb -f "$deb" Installed-Size)" "$(dpkg-deb -f "$deb" Depends)"
done
