#!/usr/bin/env bash
# The scripts' decisions on both kinds of machine, without Wine: which trees are built,
# which are tested, and which Wine runs them. Each machine takes only one of the two
# paths for real, so the other is checked here through the scripts' --dry-run.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
fails=0

expect() {  # expect <what> <expected output> <command...>
  local what=$1 want=$2; shift 2
  local got rc
  got=$("$@" 2>&1); rc=$?
  if [[ $rc -ne 0 || "$got" != "$want" ]]; then
    echo "FAIL $what (exit $rc)"
    echo "  expected:"; sed 's/^/    /' <<<"$want"
    echo "  got:";      sed 's/^/    /' <<<"$got"
    fails=$((fails + 1))
  else
    echo "ok   $what"
  fi
}

expect "build plan where 32-bit code runs" $'build native\nbuild fuzz\nbuild win32' \
  env OSTREL_TEST_ARCH=win32 "$root/scripts/build" --dry-run
expect "build plan where it does not" $'build native\nbuild fuzz\nbuild win32\nbuild win64' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/build" --dry-run

expect "test plan where 32-bit code runs" \
  $'build native\nbuild fuzz\nbuild win32
test native wine=none\ntest fuzz wine=none\ntest win32 wine=/usr/lib/wine/wine' \
  env OSTREL_TEST_ARCH=win32 "$root/scripts/test" --dry-run
expect "test plan where it does not" \
  $'build native\nbuild fuzz\nbuild win32\nbuild win64
test native wine=none\ntest fuzz wine=none\ntest win64 wine=/usr/lib/wine/wine64
test win32 -L nowine wine=none' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/test" --dry-run

expect "run plan where 32-bit code runs" $'build win32\nrun win32 wine=/usr/lib/wine/wine' \
  env OSTREL_TEST_ARCH=win32 "$root/scripts/run" --dry-run
expect "run plan where it does not" $'build win64\nrun win64 wine=/usr/lib/wine/wine64' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/run" --dry-run
expect "package plan: the shipped 32-bit tree on every machine" \
  $'build win32\npackage win32 into '"$root"'/dist: Ostrel-<version>-win32.zip, Ostrel-<version>-setup.exe (x86-unicode), SHA256SUMS' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/package" --dry-run

# A missing argument gives the usage, not a shell error.
out=$("$root/scripts/lib/wine-session" 2>&1); rc=$?
if [[ $rc -eq 2 && "$out" == usage:* ]]; then echo "ok   wine-session without arguments"
else echo "FAIL wine-session without arguments (exit $rc): $out"; fails=$((fails + 1)); fi
out=$("$root/scripts/lib/wine-session" start 2>&1); rc=$?
if [[ $rc -eq 2 && "$out" == usage:* ]]; then echo "ok   wine-session start without a folder"
else echo "FAIL wine-session start without a folder (exit $rc): $out"; fails=$((fails + 1)); fi

exit $((fails > 0))
