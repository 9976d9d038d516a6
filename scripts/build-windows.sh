#!/usr/bin/env bash
# Installs MinGW-w64, Wine and NSIS (Debian packages), builds Quillmark.dll for 32-bit and
# 64-bit Office with its Wine test host, quillmark.exe and the setup's uninstall.exe for both,
# copies them to dist/windows/{x86,x64}/, and makes the setups that install them,
# dist/windows/Quillmark-VERSION-{x86,x64}-setup.exe (one script, a 32-bit and a 64-bit
# program), with the checksums of all in dist/windows/SHA256SUMS.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh windows

# A program or library imports only Windows' own DLLs, and exports exactly what it names
# (the library its five entry points, the program nothing).
check_binary() {
  local dump imports exports name
  dump=$(x86_64-w64-mingw32-objdump -p "$1")
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
  for name in $imports; do
    case $name in
      advapi32.dll | kernel32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | user32.dll | gdi32.dll | \
        winmm.dll | comctl32.dll | shell32.dll | xmllite.dll | version.dll) ;;
      *) echo "$1 imports $name, which Windows does not bring" >&2; exit 1 ;;
    esac
  done
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
  if [ "$exports" != "$2" ]; then
    echo "$1 exports: ${exports:-nothing}; expected ${2:-nothing}" >&2
    exit 1
  fi
}

for arch in x86 x64; do
  toolchain=cmake/mingw-i686.cmake
  [ "$arch" = x64 ] && toolchain=cmake/mingw-x86_64.cmake
  build=build-windows/$arch
  if [ ! -f "$build/build.ninja" ] || [ -n "${QUILLMARK_WERROR:-}" ]; then
    cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      ${QUILLMARK_WERROR:+-DQUILLMARK_WERROR=$QUILLMARK_WERROR} >/dev/null
  fi
  cmake --build "$build"
  dll=$build/src/programs/addin-dll/Quillmark.dll
  check_binary "$dll" "DllCanUnloadNow DllGetClassObject DllInstall DllRegisterServer DllUnregisterServer "
  check_binary "$build/quillmark.exe" ""
  check_binary "$build/uninstall.exe" ""
  mkdir -p "dist/windows/$arch"
  cp "$dll" "dist/windows/$arch/Quillmark.dll"
  cp "$build/quillmark.exe" "$build/uninstall.exe" "dist/windows/$arch/"
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/x64/CMakeCache.txt)
rm -f dist/windows/Quillmark-*-setup.exe
for arch in x86 x64; do
  src/programs/setup/make-setup.sh dist/windows "$version" "dist/windows/Quillmark-$version-$arch-setup.exe" "$arch"
done
# The offline page goes out beside the setups, for machines where nothing can be installed.
rm -f dist/windows/quillmark.html
page=()
if [ -f dist/web/quillmark.html ]; then
  cp dist/web/quillmark.html dist/windows/
  page=(quillmark.html)
else
  echo "dist/web/quillmark.html is not built (scripts/build-web.sh): the release lacks the offline page"
fi
(cd dist/windows && sha256sum Quillmark-"$version"-*-setup.exe "${page[@]}" x86/* x64/* >SHA256SUMS)
