#!/usr/bin/env bash
# What scripts/build-windows.sh hands out, both setups and both architectures' Quillmark.dll,
# quillmark.exe and uninstall.exe, each with its checksum in SHA256SUMS. Then one setup under
# Wine, in a fresh prefix: an older version installed silently with quillmark on PATH, then this
# one over it; one uninstall entry of this version; the add-in's entries and classes for both
# architectures; VBScript clients of both architectures create Quillmark.CMMTimer;
# quillmark.exe --version and --version --verbose run from the install folder; a silent
# uninstall waits until it is done (and fails, changing nothing, while a client holds the
# library) and leaves the registry and the drive as they were. Then the same for all users,
# then both installations side by side, each removed first once.
#   installer-test.sh DIST    (DIST holds Quillmark-VERSION-{x86,x64}-setup.exe and the programs)
# The x86 setup runs where 32-bit programs run, the x64 one elsewhere; QUILLMARK_SETUP_ARCH
# (x86 or x64) picks one. The output says which ran.
set -Eeuo pipefail
# A step that fails without a word of its own (Wine's reg, say) is named by its line.
trap 'echo "FAILED: line $LINENO: $BASH_COMMAND exited $?" >&2' ERR
[ $# -eq 1 ] || { echo "usage: $0 DIST" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
dist=$(cd "$1" && pwd)
"$here/../windows/run-under-wine.sh" /usr/lib/wine/wine64 none --check || exit
runs32=1
"$here/../windows/run-under-wine.sh" /usr/lib/wine/wine none --check >/dev/null || {
  [ $? -eq 77 ] || exit 1
  runs32=0
}
arch=${QUILLMARK_SETUP_ARCH:-$([ $runs32 = 1 ] && echo x86 || echo x64)}
case $arch in
x86) [ $runs32 = 1 ] || { echo "SKIPPED: the x86 setup asked for, and this machine runs no 32-bit programs"; exit 77; } ;;
x64) ;;
*) echo "QUILLMARK_SETUP_ARCH is $arch: x86 or x64" >&2; exit 2 ;;
esac

setups=("$dist"/Quillmark-*-"$arch"-setup.exe)
[ ${#setups[@]} -eq 1 ] && [ -f "${setups[0]}" ] || { echo "FAILED: no single $arch setup in $dist" >&2; exit 1; }
setup=${setups[0]}
version=${setup##*/Quillmark-}
version=${version%-"$arch"-setup.exe}
echo "the setup's test runs the $arch setup ${setup##*/}$([ $runs32 = 1 ] || echo ", without 32-bit programs")"

tmp=$(mktemp -d)
export WINEPREFIX=$tmp/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap '/usr/lib/wine/wineserver -k 2>/dev/null; rm -rf "$tmp"' EXIT
# Debian's wine starts 32-bit programs (the x86 setup, cscript, reg); wine64 their 64-bit
# versions.
w32() { /usr/lib/wine/wine "$@"; }
w64() { /usr/lib/wine/wine64 "$@"; }
in_setup() { if [ "$arch" = x86 ]; then w32 "$@"; else w64 "$@"; fi; }
# The 32-bit view, checked where 32-bit programs run.
if [ $runs32 = 1 ]; then views="w32 w64"; else views=w64; fi
fail() {
  echo "FAILED: $*" >&2
  exit 1
}

sums=$(cd "$dist" && sha256sum -c SHA256SUMS 2>&1) || fail "SHA256SUMS does not match: $sums"
listed=$(sed 's/^[0-9a-f]*  //' "$dist/SHA256SUMS" | LC_ALL=C sort | tr '\n' ' ')
expected="Quillmark-$version-x64-setup.exe Quillmark-$version-x86-setup.exe"
# The offline page, where the web edition was built first (as the test run does).
[ ! -f "$dist/quillmark.html" ] || expected+=" quillmark.html"
expected+=" x64/Quillmark.dll x64/quillmark.exe x64/uninstall.exe x86/Quillmark.dll x86/quillmark.exe x86/uninstall.exe "
[ "$listed" = "$expected" ] || fail "SHA256SUMS lists $listed; expected $expected"

# A registry value as text, without its name and type, as the 64-bit reg or (a first argument
# w32) the 32-bit one reads it; the name "" reads the key's default value.
value() {
  local loader=w64
  case $1 in w32 | w64) loader=$1 && shift ;; esac
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
# HKCU and HKLM\Software in both views, and every path of drive C: but the copy of
# uninstall.exe that removed it and its folder, which go only when Windows next starts.
snapshot() {
  w64 reg export HKCU "$tmp/hkcu.reg" /y >/dev/null
  w64 reg export 'HKLM\Software' "$tmp/hklm.reg" /y >/dev/null
  # Less the keys that Wine makes for its first 64-bit window, which the x64 setup opens.
  iconv -f UTF-16 -t UTF-8 "$tmp/hkcu.reg" "$tmp/hklm.reg" | tr -d '\r' |
    awk '/^\[/ { wine = index($0, "[HKEY_CURRENT_USER\\Software\\Wine\\Temporary System Parameters") == 1 } !wine' \
      >"$tmp/$1.reg"
  (cd "$WINEPREFIX/drive_c" && find . | grep -Ev '^\./users/[^/]*/Temp/Quillmark-uninstall-[0-9]+(/uninstall\.exe)?$' |
    sort) >"$tmp/$1.files"
}
expect_as_before() {
  diff "$tmp/before.reg" "$tmp/$1.reg" >&2 || fail "the registry after $1 differs from before the install"
  diff "$tmp/before.files" "$tmp/$1.files" >&2 || fail "drive C: after $1 differs from before the install"
}
run_setup() {
  in_setup "$@" || fail "$* exited $?"
  /usr/lib/wine/wineserver -w
}
# A silent uninstall returns when it is done: the uninstall entry of scope and the libraries are
# gone then, before its last step (its own file and folder) has ended.
uninstall() {
  local scope=$1 status=0
  in_setup "$folder\\uninstall.exe" /S || status=$?
  [ $status = 0 ] || fail "uninstall.exe /S exited $status"
  ! w64 reg query "$scope\\$uninstall_key" >/dev/null 2>&1 || fail "uninstall.exe /S returned before the work was done"
  [ ! -e "$(w64 winepath -u "$folder" | tr -d '\r')/x64/Quillmark.dll" ] || fail "uninstall.exe /S left the library"
  /usr/lib/wine/wineserver -w
}
uninstall_key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmark'
addins='HKCU\Software\Microsoft\VBA\VBE\6.0'

# The add-in entries and the classes that the installation in $folder registered for its
# scope: HKLM's as every client reads them, creating the timer; HKCU's as they stand, for Wine
# reads classes from HKLM alone and keeps one view of the user's, where the 64-bit library,
# registered last, stands.
check_scope() {
  local scope=$1 clsid='\CLSID\{26BECAA2-51F9-4847-BA1C-2DB2548CB846}\InprocServer32' view library
  expect_value "$addins\\Addins64\\Quillmark.Connect" FriendlyName Quillmark
  [ $runs32 = 0 ] || expect_value "$addins\\Addins\\Quillmark.Connect" FriendlyName Quillmark
  if [ "$scope" = HKCU ]; then
    expect_value "HKCU\\Software\\Classes$clsid" "" "$folder\\x64\\Quillmark.dll"
    return
  fi
  for view in $views; do
    library=x64
    [ "$view" = w32 ] && library=x86
    expect_value "$view" "HKCR$clsid" "" "$folder\\$library\\Quillmark.dll"
    answer=$($view cscript //nologo "Z:$here/../windows/Timer.vbs" | tr -d '\r') || fail "$view cscript: $answer"
    [ "$answer" = "all answers right" ] || fail "$view cscript: $answer"
  done
}

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

  check_scope "$scope"
  answer=$(w64 "$folder\\bin\\quillmark.exe" --version | tr -d '\r') || fail "quillmark.exe --version: $answer"
  [ "$answer" = "quillmark $version" ] || fail "quillmark.exe --version printed \"$answer\""
  answer=$(w64 "$folder\\bin\\quillmark.exe" --version --verbose | tr -d '\r') || fail "--version --verbose: $answer"
  for line in "Library: $folder\\x64\\Quillmark.dll" "OriginalFilename: Quillmark.dll" "OLESelfRegister"; do
    grep -qxF "$line" <<<"$answer" || fail "quillmark.exe --version --verbose printed no \"$line\": $answer"
  done
  # quillmark.exe's own version resource, read as a library's would be, names the library's
  # product, version and description.
  mkdir -p "$tmp/version"
  cp "$(w64 winepath -u "$folder\\bin\\quillmark.exe" | tr -d '\r')" "$tmp/version/quillmark.exe"
  cp "$tmp/version/quillmark.exe" "$tmp/version/Quillmark.dll"
  own=$(w64 "Z:$tmp/version/quillmark.exe" --version --verbose | tr -d '\r') || fail "the program's own version: $own"
  grep -qxF "OriginalFilename: quillmark.exe" <<<"$own" || fail "quillmark.exe's version resource: $own"
  [ "$(grep -E '^(Product|File)' <<<"$own")" = "$(grep -E '^(Product|File)' <<<"$answer" | head -4)" ] ||
    fail "quillmark.exe's version resource differs from the library's: $own"
  expected="bin/quillmark.exe uninstall-steps.exe uninstall.exe x64/Quillmark.dll"
  [ $runs32 = 1 ] && expected+=" x86/Quillmark.dll"
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
for loader in $views; do
  $loader cscript //nologo "Z:$tmp/quit.vbs" || fail "$loader cscript exited $?"
done
/usr/lib/wine/wineserver -w
snapshot before

# Per user: an older version with quillmark on PATH, then this one over it, keeping that choice.
"$here/../../../src/programs/setup/make-setup.sh" "$dist" 0.1 "$tmp/old-setup.exe" "$arch"
run_setup "$tmp/old-setup.exe" /S /AddToPath
expect_value "HKCU\\$uninstall_key" DisplayVersion 0.1
run_setup "$setup" /S
check_installed HKCU
expect_value 'HKCU\Environment' Path "%USERPROFILE%\\tools;$folder\\bin;"
uninstall HKCU
snapshot uninstall
expect_as_before uninstall

# For all users: the machine's PATH, the program folder.
environment='HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment'
machine_path=$(value "$environment" PATH)
run_setup "$setup" /S /AllUsers /AddToPath
check_installed HKLM
expect_value "$environment" PATH "$machine_path;$folder\\bin"
[ "$folder" = 'C:\Program Files\Quillmark' ] || fail "installed for all users into $folder"
# While a client holds the library, as Office would, the uninstall stops with status 2 and
# changes nothing.
# (Wine's WScript.Sleep and StdIn return at once: the client waits for a file.)
printf '%s\r\n' 'Set held = CreateObject("Quillmark.CMMTimer")' 'Set files = CreateObject("Scripting.FileSystemObject")' \
  'WScript.Echo "held"' 'started = Timer' "Do Until files.FileExists(\"Z:$tmp/release\") Or Timer > started + 300" \
  'Loop' >"$tmp/hold.vbs"
w64 cscript //nologo "Z:$tmp/hold.vbs" >"$tmp/hold.out" 2>&1 &
holder=$!
for _ in $(seq 60); do grep -q held "$tmp/hold.out" && break; sleep 1; done
grep -q held "$tmp/hold.out" || fail "the client could not hold the library: $(cat "$tmp/hold.out")"
status=0
in_setup "$folder\\uninstall.exe" /S || status=$?
touch "$tmp/release"
wait $holder
[ $status = 2 ] || fail "uninstall.exe /S exited $status while the library was held, expected 2"
/usr/lib/wine/wineserver -w
check_installed HKLM
uninstall HKLM
snapshot all-users-uninstall
expect_as_before all-users-uninstall

# Both side by side, each removed first once: the other keeps its classes and add-in entries.
for first in HKCU HKLM; do
  run_setup "$setup" /S
  user_folder=$(value "HKCU\\$uninstall_key" InstallLocation)
  run_setup "$setup" /S /AllUsers
  machine_folder=$(value "HKLM\\$uninstall_key" InstallLocation)
  if [ $first = HKCU ]; then
    folder=$user_folder && uninstall HKCU
    folder=$machine_folder && check_scope HKLM && uninstall HKLM
  else
    folder=$machine_folder && uninstall HKLM
    folder=$user_folder && check_scope HKCU && uninstall HKCU
  fi
  snapshot "both-$first"
  expect_as_before "both-$first"
done
echo "installed, upgraded and removed without a trace, per user, for all users and both side by side"
