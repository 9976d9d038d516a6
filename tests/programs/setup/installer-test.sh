#!/usr/bin/env bash
# What scripts/build-windows.sh hands out, the setup and both architectures' Quillmark.dll and
# quillmark.exe, each with its checksum in SHA256SUMS. Then the setup under Wine, in a fresh
# prefix: an older version installed silently with quillmark on PATH, then this one over it;
# one uninstall entry of this version; the add-in's entries and classes for both architectures;
# VBScript clients of both architectures create Quillmark.CMMTimer; quillmark.exe --version runs
# from the install folder; a silent uninstall leaves the registry and the drive as they were.
# Then the same for all users.
#   installer-test.sh DIST    (DIST holds Quillmark-VERSION-setup.exe and the programs in it)
# Exits 77 (skipped) only where this machine's kernel runs no 32-bit programs.
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: $0 DIST" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
"$here/../windows/run-under-wine.sh" /usr/lib/wine/wine none --check || exit

setups=("$dist"/Quillmark-*-setup.exe)
[ ${#setups[@]} -eq 1 ] && [ -f "${setups[0]}" ] || { echo "FAILED: no single setup in $dist" >&2; exit 1; }
setup=${setups[0]}
version=${setup##*/Quillmark-}
version=${version%-setup.exe}

tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
# Debian's wine starts 32-bit programs (the setup, cscript, reg); wine64 their 64-bit versions.
w32() { /usr/lib/wine/wine "$@"; }
w64() { /usr/lib/wine/wine64 "$@"; }
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

sums=$(cd "$dist" && sha256sum -c SHA256SUMS 2>&1) || fail "SHA256SUMS does not match: $sums"
listed=$(sed 's/^[0-9a-f]*  //' "$dist/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
expected="${setup##*/} x64/Quillmark.dll x64/quillmark.exe x86/Quillmark.dll x86/quillmark.exe "
[ "$listed" = "$expected" ] || fail "SHA256SUMS lists $listed; expected $expected"

# A registry value as text, without its name and type, as the 64-bit reg or (w32) the 32-bit
# one reads it; the name "" reads the key's default value.
value() {
  local loader=w64
  [ "$1" = w32 ] && loader=$1 && shift
  if [ -z "$2" ]; then
    $loader reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^ *(Default) *REG_[A-Z_]* *//p'
  else
    $loader reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
  fi
}
expect_value() {
  local got
  got=$(value "$@")
  [ "$got" = "${*: -1}" ] || fail "$* is \"$got\""
}
# HKCU and HKLM\Software in both views, and every path of drive C: but the empty folder where
# the uninstaller ran a copy of itself, which goes only when Windows next starts.
snapshot() {
  w64 reg export HKCU "$tmp/hkcu.reg" /y >/dev/null
  w64 reg export 'HKLM\Software' "$tmp/hklm.reg" /y >/dev/null
  iconv -f UTF-16 -t UTF-8 "$tmp/hkcu.reg" "$tmp/hklm.reg" | tr -d '\r' >"$tmp/$1.reg"
  (cd "$WINEPREFIX/drive_c" && find . | grep -v '^\./users/[^/]*/Temp/~nsu[0-9A-Za-z]*\.tmp$' | sort) >"$tmp/$1.files"
}
expect_as_before() {
  diff "$tmp/before.reg" "$tmp/$1.reg" >&2 || fail "the registry after $1 differs from before the install"
  diff "$tmp/before.files" "$tmp/$1.files" >&2 || fail "drive C: after $1 differs from before the install"
}
run_setup() {
  w32 "$@" || fail "$* exited $?"
  /usr/lib/wine/wineserver -w
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark'
addins='HKCU\Software\Microsoft\VBA\VBE\6.0'

# Everything the setup wrote for one scope (HKCU or HKLM) but PATH; the install folder's
# Windows path is left in $folder.
check_installed() {
  local scope=$1 entries linux files expected
  entries=$(w64 reg query "$scope\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" /s |
    tr -d '\r' | grep -c '^ *DisplayName *REG_SZ *Quillmark$' || true)
  [ "$entries" = 1 ] || fail "$entries uninstall entries named Quillmark in $scope, expected 1"
  folder=$(value "$scope\\$uninstall_key" InstallLocation)
  for check in "DisplayVersion|$version" "Publisher|Quillmark" "NoModify|0x1" "NoRepair|0x1" \
    "UninstallString|\"$folder\\uninstall.exe\"" "QuietUninstallString|\"$folder\\uninstall.exe\" /S"; do
    expect_value "$scope\\$uninstall_key" "${check%%|*}" "${check#*|}"
  done
  [ $(($(value "$scope\\$uninstall_key" EstimatedSize))) -gt 1000 ] || fail "EstimatedSize is below 1000 KB"

  for arch in "" 64; do
    expect_value "$addins\\Addins$arch\\Quillmark.Connect" FriendlyName Quillmark
  done
  # Each view of the classes names its own architecture's library.
  local clsid='HKCR\CLSID\{26BECAA2-51F9-4847-BA1C-2DB2548CB846}\InprocServer32'
  expect_value "$clsid" "" "$folder\\x64\\Quillmark.dll"
  expect_value w32 "$clsid" "" "$folder\\x86\\Quillmark.dll"
  for loader in w32 w64; do
    answer=$($loader cscript //nologo "Z:$here/../windows/Timer.vbs" | tr -d '\r') || fail "$loader cscript: $answer"
    [ "$answer" = "all answers right" ] || fail "$loader cscript: $answer"
  done

  answer=$(w64 "$folder\\bin\\quillmark.exe" --version | tr -d '\r') || fail "quillmark.exe --version: $answer"
  [ "$answer" = "quillmark $version" ] || fail "quillmark.exe --version printed \"$answer\""
  expected="bin/quillmark.exe uninstall.exe x64/Quillmark.dll x86/Quillmark.dll"
  linux=$(w64 winepath -u "$folder" | tr -d '\r')
  files=$(cd "$linux" && find . -type f | sed 's|^\./||' | sort | tr '\n' ' ')
  [ "$files" = "$expected " ] || fail "the install folder holds $files, expected $expected"
}

w64 wineboot -i || fail "wineboot exited $?"
# A user's PATH that ends with a separator, as Windows makes it.
w64 reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d '%USERPROFILE%\tools;' /f >/dev/null ||
  fail "reg add exited $?"
# cscript registers the type library of Windows Script Host on its first run in each
# architecture: done before, it is no change of the setup's.
printf 'WScript.Quit 0\r\n' >"$tmp/quit.vbs"
for loader in w32 w64; do
  $loader cscript //nologo "Z:$tmp/quit.vbs" || fail "$loader cscript exited $?"
done
/usr/lib/wine/wineserver -w
snapshot before

# Per user: an older version with quillmark on PATH, then this one over it, keeping that choice.
"$here/../../../src/programs/setup/make-setup.sh" "$dist" 0.1 "$tmp/old-setup.exe"
run_setup "$tmp/old-setup.exe" /S /AddToPath
expect_value "HKCU\\$uninstall_key" DisplayVersion 0.1
run_setup "$setup" /S
check_installed HKCU
expect_value 'HKCU\Environment' Path "%USERPROFILE%\\tools;$folder\\bin;"
run_setup "$folder\\uninstall.exe" /S
snapshot uninstall
expect_as_before uninstall

# For all users: the machine's PATH, the program folder.
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
machine_path=$(value "$environment" PATH)
run_setup "$setup" /S /AllUsers /AddToPath
check_installed HKLM
expect_value "$environment" PATH "$machine_path;$folder\\bin"
[ "$folder" = 'C:\Program Files\Quillmark' ] || fail "installed for all users into $folder"
run_setup "$folder\\uninstall.exe" /S
snapshot all-users-uninstall
expect_as_before all-users-uninstall
echo "installed, upgraded and removed without a trace, per user and for all users"
