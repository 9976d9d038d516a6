#!/usr/bin/env bash
# Installs MinGW-w64 and Wine (Debian packages), builds Quillmark.dll for 32-bit and 64-bit
# Office with its Wine test host, and copies the libraries to dist/windows/{x86,x64}/.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64
  libwine-dev wine wine32:i386 wine64 xvfb xauth fonts-ipafont-gothic cmake ninja-build
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # wine32 comes from the i386 architecture.
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The library imports only Windows' own DLLs and exports exactly the four entry points.
check_library() {
  local dump imports exports name
  dump=$(x86_64-w64-mingw32-objdump -p "$1")
  imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | tr '[:upper:]' '[:lower:]' | sort | tr '\n' ' ')
  for name in $imports; do
    case $name in
      advapi32.dll | kernel32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | user32.dll | gdi32.dll | \
        winmm.dll | comctl32.dll | shell32.dll) ;;
      *) echo "$1 imports $name, which Windows does not bring" >&2; exit 1 ;;
    esac
  done
  exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
  if [ "$exports" != "DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer " ]; then
    echo "$1 exports: $exports; expected exactly the four entry points" >&2
    exit 1
  fi
}

for arch in x86 x64; do
  toolchain=cmake/mingw-i686.cmake
  [ "$arch" = x64 ] && toolchain=cmake/mingw-x86_64.cmake
  build=build-windows/$arch
  if [ ! -f "$build/build.ninja" ]; then
    cmake -G Ninja -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$toolchain"
  fi
  cmake --build "$build"
  dll=$build/src/platform/win32/addin/Quillmark.dll
  check_library "$dll"
  mkdir -p "dist/windows/$arch"
  cp "$dll" "dist/windows/$arch/Quillmark.dll"
done
