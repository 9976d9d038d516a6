#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the window and our own Debian packages need
# (dpkg-shlibdeps, file and lintian; man and zsh for the test of the manual page and the
# completions; cmark for the Markdown test; aha for the README's terminal picture); with
# "command-line", only those the quillmark command needs; with "windows", those that build the
# Windows programs and run their tests under Wine; with "web", those that build the web edition
# and test it (Emscripten, Node and npm, Chromium). Safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev
  qt6-base-dev libgsf-1-dev libxml2-dev zlib1g-dev
  fonts-ipafont-gothic xvfb xauth
  clang libclang-rt-14-dev
  chromium chromium-driver python3
  cmark aha
  git
  dpkg-dev file lintian man-db zsh
)

options=()
if [ "${1:-}" = command-line ]; then
  packages=(cmake ninja-build g++ pkg-config libcli11-dev libgsf-1-dev libxml2-dev)
  options=(--no-install-recommends)
elif [ "${1:-}" = windows ]; then
  packages=(
    g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64
    libz-mingw-w64-dev libcli11-dev libwine-dev wine wine32:i386 wine64 xvfb xauth
    fonts-ipafont-gothic cmake ninja-build nsis
  )
  options=(--no-install-recommends)
elif [ "${1:-}" = web ]; then
  packages=(emscripten cmake ninja-build python3 chromium chromium-driver)
  # A Node installed otherwise (with its own npm) is kept: Debian's npm would not go beside it.
  command -v node >/dev/null || packages+=(nodejs)
  command -v npm >/dev/null || packages+=(npm)
  options=(--no-install-recommends)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  # wine32 comes from the i386 architecture.
  if [[ " ${missing[*]} " == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${options[@]}" "${missing[@]}"
fi
