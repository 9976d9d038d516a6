#!/bin/sh
# Makes the Windows setup from the programs that scripts/build-windows.sh puts in DIST:
#   make-setup.sh DIST VERSION SETUP [x86|x64]
# DIST holds {x86,x64}/Quillmark.dll and {x86,x64}/quillmark.exe; both setups install the same,
# the x86 one (the default) on any Windows, the x64 one where 32-bit programs may not run.
set -eu
[ $# -eq 3 ] || [ $# -eq 4 ] || { echo "usage: $0 DIST VERSION SETUP [x86|x64]" >&2; exit 2; }
dist=$(cd "$1" && pwd)
version=$2
arch=${4:-x86}
case $arch in x86 | x64) ;; *) echo "$0: no setup for $arch" >&2; exit 2 ;; esac
# The setup's version resource wants four numbers.
file_version=$version
while [ "$(echo "$file_version" | tr -cd . | wc -c)" -lt 3 ]; do file_version=$file_version.0; done
# makensis reads and writes from the script's folder.
setup=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
here=$(cd "$(dirname "$0")" && pwd)
# Written beside the setup and renamed when whole.
trap 'rm -f "$setup.part"' EXIT
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DFILE_VERSION="$file_version" -DDIST="$dist" -DOUTFILE="$setup.part" -DSETUP_ARCH="$arch" \
  "$here/Quillmark.nsi"
mv "$setup.part" "$setup"
