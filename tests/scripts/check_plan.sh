#!/usr/bin/env bash
# The scripts' decisions on both kinds of machine, without Wine: which trees are built,
# which are tested, and which Wine runs them. Each machine takes only one of the two
# paths for real, so the other is checked here through the scripts' --dry-run. Then a
# new machine's first run, in a copy of the scripts with stand-ins for the install step,
# cmake, ctest and apt. And the plan of the third kind, the Windows runner.
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
test native wine=none\ntest fuzz wine=none
test win32 -LE wow64 wine=/usr/lib/wine/wine prefix=win32
test win32 -L wow64 wine=/usr/lib/wine/wine prefix=win64' \
  env OSTREL_TEST_ARCH=win32 "$root/scripts/test" --dry-run
expect "test plan where it does not" \
  $'build native\nbuild fuzz\nbuild win32\nbuild win64
test native wine=none\ntest fuzz wine=none\ntest win64 wine=/usr/lib/wine/wine64 prefix=win64
test win32 -L nowine wine=none' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/test" --dry-run

# What run lays out is what the release zip holds, so a first window is a user's first.
layout='lay out build/run: Ostrel.exe OLWATCH.DLL ostrel.htm Examples.fil README.txt LICENSE.txt Examples.skl (Keys.fil kept)'
expect "run plan where 32-bit code runs" $'build win32\nrun win32 wine=/usr/lib/wine/wine\n'"$layout" \
  env OSTREL_TEST_ARCH=win32 "$root/scripts/run" --dry-run
expect "run plan where it does not" $'build win64\nrun win64 wine=/usr/lib/wine/wine64\n'"$layout" \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/run" --dry-run
expect "package plan: the shipped 32-bit tree on every machine" \
  $'build win32\npackage win32 into '"$root"'/dist: Ostrel-<version>-win32.zip, Ostrel-<version>-win32-tests.zip, Ostrel-<version>-setup.exe (x86-unicode), SHA256SUMS' \
  env OSTREL_TEST_ARCH=win64 "$root/scripts/package" --dry-run

# The third kind of machine, Windows itself (.github/workflows/windows.yml): a Windows
# runner in MSYS2's 32-bit MinGW environment runs the README's commands for Windows,
# among them the Windows tests, in that environment's shell.
windows_plan() {
  python3 - "$root" <<'PY' 2>&1
import re, sys, yaml
root = sys.argv[1]
flow = yaml.safe_load(open(root + "/.github/workflows/windows.yml"))
on = flow.get(True, flow.get("on")) or {}  # YAML 1.1 reads the key on as true
jobs = [j for j in flow["jobs"].values() if str(j.get("runs-on", "")).startswith("windows")]
steps = [s for j in jobs for s in j["steps"]]
shells = {s.get("shell", j.get("defaults", {}).get("run", {}).get("shell"))
          for j in jobs for s in j["steps"] if "run" in s}
msys = [s.get("with", {}) for s in steps if s.get("uses", "").startswith("msys2/setup-msys2@")]
packages = str(msys[0].get("install", "")).split() if msys else []
runs = [line.strip() for s in steps for line in str(s.get("run", "")).splitlines()]
section = open(root + "/README.md").read().split("## Building on Windows")[1].split("\n## ")[0]
typed = [l for b in re.findall(r"```sh\n(.*?)```", section, re.S) for l in b.splitlines() if l]
print("on:", " ".join(sorted(on)))
print("runners:", len(jobs), "msystem:", msys[0].get("msystem") if msys else None,
      "shells:", " ".join(sorted(map(str, shells))))
print("actions:", " ".join(sorted({s["uses"].split("@")[0] for s in steps if "uses" in s})))
print("i686:", " ".join(p[15:] for p in packages if p.startswith("mingw-w64-i686-")))
print("tests:", " ".join(t for t in ("win32_tests.exe '--gtest_filter=-SaveCrash.*'",
      "win32_tests.exe '--gtest_filter=SaveCrash.*'", "smoketest.exe")
      if "build/win32/bin/" + t in runs))
print("README commands not run:", [c for c in typed if c not in runs] if typed else "no block")
PY
}
expect "Windows runner: MINGW32, the i686 toolchain, the README's commands and the tests" \
  "on: pull_request push
runners: 1 msystem: MINGW32 shells: msys2 {0}
actions: actions/checkout actions/upload-artifact msys2/setup-msys2
i686: toolchain cmake ninja gtest python nsis
tests: win32_tests.exe '--gtest_filter=-SaveCrash.*' win32_tests.exe '--gtest_filter=SaveCrash.*' smoketest.exe
README commands not run: []" windows_plan

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
  expect "first run: Wine installed by the run, build and test take win32, in both prefixes" \
    $'built native\nbuilt fuzz\nbuilt win32\ntest native\ntest fuzz\ntest win32 -LE wow64
test win32 -L wow64\ntotal: 8 passed, 0 failed (exit 0)' fresh_test
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
