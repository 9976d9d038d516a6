#!/bin/sh
# run-under-wine.sh LOADER: a skip only where the kernel cannot run the loader, a failure where
# the loader is missing, so that no run loses one architecture's tests unseen.
run=$1
dir=$(mktemp -d) || exit 1
trap 'rm -rf "$dir"' EXIT
# An ELF program for a machine that no kernel runs (e_machine 0xFFFF).
printf '\177ELF\002\001\001\000\000\000\000\000\000\000\000\000\002\000\377\377' >"$dir/foreign"
chmod +x "$dir/foreign"
failed=0
for case in "foreign 77" "missing 1"; do
  set -- $case
  "$run" "$dir/$1" "$dir/prefix" --check >/dev/null
  status=$?
  if [ "$status" -ne "$2" ]; then
    echo "a $1 loader: exit $status, expected $2"
    failed=1
  fi
done
exit $failed
