#!/usr/bin/env bash
# The scripts' decisions on both kinds of machine, without Wine: which trees are built,
# which are tested, and which Wine runs them. Each machine takes only one of the two
# paths for real, so the other is checked here through the scripts' --dry-run. Then a
# new machine's first run, in a copy of the scripts with stand-ins for the install step,
# cmake, ctest and apt.
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

# A first run: 32-bit Wine is absent when scripts/test starts and arrives with the install
# step. Build and test must both take the win32 path; on a machine where it never arrives
# both take win64, and a tree whose ctest gives no summary is counted as failed.
fake=$(mktemp -d)
trap 'rm -rf "$fake"' EXIT
mkdir -p "$fake/root" "$fake/bin" "$fake/wine"
cp -r "$root/scripts" "$fake/root/"
stub() { cat >"$1"; chmod +x "$1"; }
stub "$fake/root/scripts/install-deps" <<'STUB'
#!/bin/sh
[ -n "$FAKE_NO_WINE" ] || { printf '#!/bin/sh\necho wine-9.0\n' >"$OSTREL_WINE_DIR/wine"; chmod +x "$OSTREL_WINE_DIR/wine"; }
STUB
stub "$fake/bin/cmake" <<'STUB'
#!/usr/bin/env bash
[[ $1 == --build ]] && { echo "built ${2##*/}" >>"$FAKE_LOG"; exit 0; }
while [[ $# -gt 0 ]]; do [[ $1 == -B ]] && mkdir -p "$2" && touch "$2/build.ninja"; shift; done
STUB
stub "$fake/bin/ctest" <<'STUB'
#!/usr/bin/env bash
echo "test ${PWD##*/}${4:+ ${*:4}}" >>"$FAKE_LOG"
[[ ${PWD##*/} == "${FAKE_SILENT:-}" ]] || echo "100% tests passed, 0 tests failed out of 2"
STUB
fresh_test() {  # what the build and ctest were asked for, and the last line of the run
  rm -rf "$fake/root/build" "$fake/wine/"* "$fake/log"
  local out rc; out=$(env -u OSTREL_TEST_ARCH PATH="$fake/bin:$PATH" OSTREL_WINE_DIR="$fake/wine" \
                      FAKE_LOG="$fake/log" "$@" "$fake/root/scripts/test" 2>&1); rc=$?
  echo "$(cat "$fake/log")"$'\n'"$(tail -1 <<<"$out") (exit $rc)"
}
if [[ -e /proc/sys/fs/binfmt_misc/qemu-i386 ]]; then
  echo "skip first run: this machine runs 32-bit code only through an emulator"
else
  expect "first run: Wine installed by the run, build and test take win32" \
    $'built native\nbuilt fuzz\nbuilt win32\ntest native\ntest fuzz\ntest win32
total: 6 passed, 0 failed (exit 0)' fresh_test
fi
expect "first run without 32-bit Wine: win64, and a tree with no summary fails" \
  $'built native\nbuilt fuzz\nbuilt win32\nbuilt win64\ntest native\ntest fuzz\ntest win64
test win32 -L nowine\ntotal: 6 passed, 1 failed (build/win64: no summary) (exit 1)' \
  fresh_test FAKE_NO_WINE=1 FAKE_SILENT=win64

# A package index that will not update is a warning. The install is tried again with
# that suite ranked below the others; only a failed install is an error, with apt's own.
stub "$fake/bin/apt-get" <<'STUB'
#!/bin/sh
[ "$1" = update ] && { echo "W: Failed to fetch http://deb.example/dists/sid-security/main/binary-i386/Packages  File has unexpected size (1 != 2). Mirror sync in progress?"; exit 100; }
prefs=$(echo "$*" | sed -n 's/.*Dir::Etc::Preferences=\([^ ]*\).*/\1/p')
[ -z "$FAKE_INSTALL_FAILS" ] && [ -n "$prefs" ] && grep -q "n=sid-security" "$prefs" && exit 0
echo "E: Unable to correct problems, you have held broken packages."; exit 100
STUB
printf '#!/bin/sh\necho i386\n' | stub "$fake/bin/dpkg"
printf '#!/bin/sh\nexit 1\n' | stub "$fake/bin/dpkg-query"
printf '#!/bin/sh\nprintf "ja_JP.utf8\\nru_RU.utf8\\n"\n' | stub "$fake/bin/locale"
printf '#!/bin/sh\nexec "$@"\n' | stub "$fake/bin/sudo"
install_with() {  # install-deps' warning and error lines, and its exit status
  local out rc; out=$(env PATH="$fake/bin:$PATH" "$@" "$root/scripts/install-deps" 2>&1); rc=$?
  echo "$(grep -oE 'could not update [^ ]+|again with [^ ]+|failed: .*' <<<"$out") (exit $rc)"
}
stale=$'could not update http://deb.example/dists/sid-security/main/binary-i386/Packages
again with sid-security'
expect "install-deps: a stale index is a warning" "$stale (exit 0)" install_with
expect "install-deps: a failed install says apt's error" \
  "$stale"$'\nfailed: E: Unable to correct problems, you have held broken packages. (exit 1)' \
  install_with FAKE_INSTALL_FAILS=1

exit $((fails > 0))
