#!/bin/sh
# Runs a Windows program of this build under Wine, in the build's own prefix, on a virtual
# display: run-under-wine.sh LOADER PREFIX PROGRAM ARGS...  With PROGRAM "--new-prefix" it
# makes the prefix afresh. Exits 77 (skipped) where this machine cannot run the loader.
loader=$1
prefix=$2
shift 2
if ! why=$("$loader" --version 2>&1); then
  echo "SKIPPED: Wine cannot run Windows programs of this architecture here ($loader: $why)"
  exit 77
fi
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = "--new-prefix" ]; then
  rm -rf "$prefix"
  exec "$loader" wineboot -i
fi
exec xvfb-run -a "$loader" "$@"
