#!/bin/sh
# Makes the Windows setup from the programs that scripts/build-windows.sh puts in DIST:
#   make-setup.sh DIST VERSION SETUP
# DIST holds {x86,x64}/Quillmark.dll and {x86,x64}/quillmark.exe.
set -eu
[ $# -eq 3 ] || { echo "usage: $0 DIST VERSION SETUP" >&2; exit 2; }
dist=$(cd "$1" && pwd)
version=$2
# The setup's version resource wants four numbers.
file_version=$version
while [ "$(echo "$file_version" | tr -cd . | wc -c)" -lt 3 ]; do file_version=$file_version.0; done
# makensis reads and writes from the script's folder.
setup=$(cd "$(dirname "$3")" && pwd)/$(basename "$3")
here=$(cd "$(dirname "$0")" && pwd)
# Written beside the setup and renamed when whole.
trap 'rm -f "$setup.part"' EXIT
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DFILE_VERSION="$file_version" -DDIST="$dist" -DOUTFILE="$setup.part" \
  "$here/Quillmark.nsi"
mv "$setup.part" "$setup"
