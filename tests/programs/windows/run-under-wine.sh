#!/bin/sh
# Runs a Windows program of this build under Wine, in the build's own prefix, on a virtual
# display: run-under-wine.sh LOADER PREFIX PROGRAM ARGS...  With PROGRAM "--new-prefix" it
# makes the prefix afresh; with "--check" it only checks that the loader runs. Exits 77
# (skipped) only where this machine's kernel cannot run programs of the loader's architecture;
# a loader that is missing or broken is a failure.
loader=$1
prefix=$2
shift 2
if ! why=$("$loader" --version 2>&1); then
  case $why in
  *"Exec format error"*)
    echo "SKIPPED: this machine's kernel runs no programs of this architecture ($loader: $why)"
    exit 77
    ;;
  esac
  echo "FAILED: Wine cannot run Windows programs of this architecture ($loader: $why)"
  exit 1
fi
[ "$1" = "--check" ] && exit 0
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$1" = "--new-prefix" ]; then
  rm -rf "$prefix"
  "$loader" wineboot -i || exit
  # The window's Japanese fonts as IPA's, and window frames drawn as Windows draws them.
  "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f >/dev/null &&
    "$loader" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ Ｐゴシック' /d IPAPGothic /f >/dev/null &&
    exec "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
fi
exec xvfb-run -a "$loader" "$@"
