#!/usr/bin/env bash
# The release packages of a Windows build tree, made by scripts/package.
#   test_release.sh <build-dir> package   needs no Wine: the zips' contents and bytes (two
#       packagings give the same bytes), SHA256SUMS, the one version everywhere (the
#       project, the version records of Ostrel.exe and the installer, the help page's
#       footer, the file names), and the installer script compiling.
#   test_release.sh <build-dir> install   in the tree's Wine session: the installer run
#       silently, the installed program used, installed over while it runs, uninstalled
#       keeping and then removing the definitions; the zip run from a folder with a blank;
#       the self-test zip unpacked into another and its run-tests.cmd run by cmd.
set -euo pipefail
BUILD=$(cd "$1" && pwd)
mode=${2:-package}
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/lib/common.sh"
tree=$(basename "$BUILD")
case "$tree" in
  win32) kind=PE32 zip_suffix=win32 setup_suffix="" ;;
  win64) kind=PE32+ zip_suffix=win64 setup_suffix="-win64" ;;
  *) echo "FAIL: $BUILD is no Windows tree (win32, win64)"; exit 1 ;;
esac
version=$(sed -n 's/^project(Ostrel VERSION \([0-9.]*\) .*/\1/p' "$ROOT/CMakeLists.txt")
[[ -n "$version" ]] || { echo "FAIL: no version in the project() line"; exit 1; }
zip_name="Ostrel-$version-$zip_suffix.zip"
tests_name="Ostrel-$version-$zip_suffix-tests.zip"
setup_name="Ostrel-$version$setup_suffix-setup.exe"

package_checks() {
  local work="$BUILD/release-test/package" fault=0
  rm -rf "$work"
  mkdir -p "$work"
  bad() { echo "FAIL: $*"; fault=1; }
  [[ "$(<"$BUILD/version.txt")" == "$version" ]] || bad "version.txt says $(<"$BUILD/version.txt")"
  "$ROOT/scripts/package" --tree "$tree" --no-build --out "$work/first" || { echo "FAIL: packaging"; exit 1; }
  sleep 1.1  # another second on the clock: the files' own times must not reach the zip
  "$ROOT/scripts/package" --tree "$tree" --no-build --out "$work/second" >/dev/null ||
    { echo "FAIL: packaging again"; exit 1; }
  local dist="$work/first"
  for f in "$zip_name" "$tests_name" "$setup_name" SHA256SUMS; do
    [[ -f "$dist/$f" ]] || { echo "FAIL: no $f in $dist"; exit 1; }
  done
  for f in "$zip_name" "$tests_name"; do
    cmp "$dist/$f" "$work/second/$f" || bad "two packagings gave different $f"
  done
  cmp -s "$dist/$setup_name" "$work/second/$setup_name" &&
    echo "the installer is byte-identical too" || echo "note: the installers differ in bytes"

  (cd "$dist" && sha256sum --quiet -c SHA256SUMS) || bad "SHA256SUMS does not match"
  [[ "$(awk '{print $2}' "$dist/SHA256SUMS" | tr '\n' ' ')" == "$zip_name $tests_name $setup_name " ]] ||
    bad "SHA256SUMS lists $(awk '{print $2}' "$dist/SHA256SUMS" | tr '\n' ' ')"

  # Each zip: exactly its files in sorted order, one fixed time, mode 644, no extra
  # fields; the programs, library and page as built; the texts for Notepad and cmd.
  for f in "$zip_name" "$tests_name"; do python3 - "$dist/$f" "$BUILD/bin" "$version" <<'PY' || fault=1
import sys, zipfile
path, bin_dir, version = sys.argv[1:4]
faults = []
z = zipfile.ZipFile(path)
infos = z.infolist()
names = [i.filename for i in infos]
want = ["Examples.fil", "Examples.skl", "LICENSE.txt", "OLWATCH.DLL", "Ostrel.exe", "README.txt",
        "ostrel.htm"]
if path.endswith("-tests.zip"):
    want = ["OLWATCH.DLL", "Ostrel.exe", "olprobe.exe", "run-tests.cmd", "savehost.exe",
            "smoketest.exe", "timelimit.exe", "win32_tests.exe"]
if names != want:
    faults.append("holds %s, expected %s" % (names, want))
if len({i.date_time for i in infos}) != 1:
    faults.append("times differ: %s" % sorted({i.date_time for i in infos}))
for i in infos:
    if i.extra:
        faults.append("%s has extra fields" % i.filename)
    if i.external_attr >> 16 != 0o100644:
        faults.append("%s has mode %o" % (i.filename, i.external_attr >> 16))
for name in set(names) - {"LICENSE.txt", "README.txt", "run-tests.cmd"}:
    if z.read(name) != open("%s/%s" % (bin_dir, name), "rb").read():
        faults.append("%s is not the built one" % name)
if "README.txt" in names:
    text = z.read("README.txt")
    for needed in (b"Ostrel " + version.encode(), b"Keys.fil", b".skl", b"LOCALAPPDATA",
                   b"Examples.fil", b"APPDATA%\\Ostrel"):
        if needed not in text:
            faults.append("README.txt does not mention %s" % needed.decode())
    if b"@VERSION@" in text or text.count(b"\r\n") != text.count(b"\n"):
        faults.append("README.txt is not the finished text with CR LF line ends")
text = z.read("run-tests.cmd") if "run-tests.cmd" in names else b""
if text.count(b"\r\n") != text.count(b"\n"):
    faults.append("run-tests.cmd does not end its lines in CR LF")
if "LICENSE.txt" in names and b"Copyright (c) 2026 Tessaly" not in z.read("LICENSE.txt"):
    faults.append("LICENSE.txt is not the licence")
for f in faults:
    print("FAIL: %s: %s" % (path, f))
sys.exit(1 if faults else 0)
PY
  done

  # One version: the program's version record and link time, the link times of the
  # library and the self-test's programs, the installer's own record, the help page's footer.
  local info
  for f in "$BUILD"/bin/{Ostrel,win32_tests,savehost,olprobe,smoketest,timelimit}.exe "$BUILD/bin/OLWATCH.DLL" \
           "$dist/$setup_name"; do
    info=$(python3 "$ROOT/scripts/lib/peversion.py" "$f" 2>&1) || { bad "$info"; continue; }
    echo "$(basename "$f"): $info"
    python3 - "$info" "$version" "$kind" "$(basename "$f")" <<'PY' || fault=1
import json, sys
info, version, kind, name = json.loads(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4]
faults = []
padded = ".".join((version.split(".") + ["0"] * 4)[:4])
if name == "Ostrel.exe" or name.endswith("setup.exe"):
    if info["file_version"] != padded or info["product_version"] != padded:
        faults.append("fixed versions %s, %s" % (info["file_version"], info["product_version"]))
    for key in ("FileVersion", "ProductVersion"):
        if not info["strings"].get(key, "").endswith(version):
            faults.append("%s is %r" % (key, info["strings"].get(key)))
if name.endswith("setup.exe"):
    if info["kind"] != kind:
        faults.append("is %s, not %s" % (info["kind"], kind))
elif info["timestamp"] != 0:
    faults.append("link time %d in the header: rebuilds would differ" % info["timestamp"])
for f in faults:
    print("FAIL: %s: %s" % (name, f))
sys.exit(1 if faults else 0)
PY
  done
  grep -q "<footer><p>Ostrel version $version</p></footer>" "$BUILD/bin/ostrel.htm" ||
    bad "the help page's footer does not say version $version"
  if grep -q "@[A-Z_]*@" "$BUILD/bin/ostrel.htm"; then bad "the help page holds an unfilled @NAME@"; fi

  if [[ $fault -ne 0 ]]; then exit 1; fi
  echo "packages of Ostrel $version ($tree): $zip_name, $tests_name and $setup_name checked"
  if [[ $(test_arch) != "$tree" ]]; then
    echo "SKIPPED here: running the installer and the unpacked zip. This machine cannot run"
    echo "  the programs of build/$tree under Wine (it runs build/$(test_arch)); the install"
    echo "  test (ctest -R e2e_release) runs them where build/$tree is the tree under test."
  else
    echo "the installer and the unpacked zip run in e2e_release of build/$tree"
  fi
}

if [[ "$mode" == package ]]; then
  package_checks
  exit 0
fi
[[ "$mode" == install ]] || { echo "usage: test_release.sh <build-dir> package|install" >&2; exit 2; }

# --- In the Wine session: install, use, install over, uninstall; run the zip. ---------
source "$ROOT/tests/e2e/lib.sh" "$BUILD"
work="$BUILD/release-test/install"
rm -rf "$work"
mkdir -p "$work"
"$ROOT/scripts/package" --tree "$tree" --no-build --out "$work/dist" >/dev/null || fail "packaging"
setup="$work/dist/$setup_name"
log="$work/ostrel.log"

wine_do() { "$ROOT/scripts/wine-run" "$@" 2>/dev/null | tr -d '\r'; }
unix_path() { wine_do winepath.exe -u "$1"; }
reg_has() { wine_do reg.exe query "$1" >/dev/null 2>&1; }
reg_value() {  # key value
  wine_do reg.exe query "$1" /v "$2" 2>/dev/null | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"
}
uninst_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Ostrel'
optprobe() { "$ROOT/scripts/wine-run" "$BUILD/bin/optprobe.exe" "$@" | tr -d '\r'; }
inst_win="$(wine_do cmd.exe /c echo %LOCALAPPDATA%)\\Programs\\Ostrel"
inst=$(unix_path "$inst_win")
programs_win=$(reg_value 'HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders' Programs)
programs=$(unix_path "$programs_win")
[[ -n "$inst" && -d "$programs" ]] || fail "no per-user folders in the Wine prefix ($inst, $programs)"
echo "installing into $inst; Start menu $programs"
# Windows' names ignore case: Wine's profile has "StartUp".
startup_link() { find "$programs" -maxdepth 2 -ipath "$programs/startup/ostrel.lnk" | grep -q .; }
# What a broken run leaves, before and after: the other tests expect no options stored
# and no start-up link.
release_cleanup() {
  rm -rf "$inst" "$programs/Ostrel.lnk"
  find "$programs" -maxdepth 2 -ipath "$programs/startup/ostrel.lnk" -delete
  local key
  for key in "$uninst_key" 'HKCU\Software\Tessaly\Ostrel' 'HKLM\Software\Tessaly\Ostrel'; do
    wine_do reg.exe delete "$key" /f >/dev/null 2>&1 || true
  done
}
trap 'cleanup; release_cleanup' EXIT
release_cleanup

run_ostrel() {  # folder
  "$ROOT/scripts/wine-run" "$1/Ostrel.exe" >"$log" 2>&1 &
  OSTREL_PID=$!
  probe wait Ostrel 20000 >/dev/null || fail "Ostrel in $1 showed no window"
  sleep 1
}

# Add, "Minimize all" in the chooser (its tenth entry), a name, OK: saved at once.
add_definition() {  # folder name
  click_control Ostrel 102 20 || fail "no Add button"
  probe wait "Add a new Hotkey" 5000 >/dev/null || fail "Add did not open the function chooser"
  press Home Down Down Down Down Down Down Down Down Down
  press Return
  probe wait "Configure: Minimize all" 5000 >/dev/null || fail "the editor did not open"
  DISPLAY="$OSTREL_DISPLAY" xdotool type --delay 40 "$2"
  press Return
  probe gone "Configure: Minimize all" 5000 || fail "OK did not close the editor"
  eventually "PYTHONPATH='$E2E_DIR' python3 -c '
import sys
from keysfil import parse
sys.exit(0 if any(r[\"name\"] == sys.argv[2] for r in parse(open(sys.argv[1], \"rb\").read())) else 1)
' '$1/Keys.fil' '$2' 2>/dev/null" 10 || fail "the definition $2 was not saved in $1/Keys.fil"
}

shipped=(Ostrel.exe OLWATCH.DLL ostrel.htm README.txt LICENSE.txt Examples.fil Examples.skl
         Uninstall.exe)

# A silent install: the files, the Start-menu shortcut, the Apps entry.
wine_do "$setup" /S || fail "the installer failed"
for f in "${shipped[@]}"; do [[ -f "$inst/$f" ]] || fail "the install has no $f"; done
cmp -s "$inst/Ostrel.exe" "$BUILD/bin/Ostrel.exe" || fail "the installed Ostrel.exe is not the built one"
[[ -f "$programs/Ostrel.lnk" ]] || fail "no Start-menu shortcut"
! startup_link || fail "a start-up link without being asked"
[[ "$(reg_value "$uninst_key" DisplayVersion)" == "$version" ]] || fail "Apps entry version: $(reg_value "$uninst_key" DisplayVersion)"
[[ "$(reg_value "$uninst_key" Publisher)" == Tessaly ]] || fail "Apps entry publisher"
[[ "$(reg_value "$uninst_key" DisplayIcon)" == *'Ostrel.exe",0' ]] || fail "Apps entry icon"
[[ "$(reg_value "$uninst_key" UninstallString)" == *Uninstall.exe* ]] || fail "Apps entry uninstaller"
echo "installed: ${shipped[*]}, Start-menu shortcut, Apps entry $version"

# The installed program works and saves beside itself.
run_ostrel "$inst"
add_definition "$inst" Installed
shot release-installed
printf 'Hello=hello{ENTER}\n' >"$inst/SendKeyList_1.skl"
cp "$inst/Keys.fil" "$work/Keys.before"
# An imported example macro menu is edited in Examples.skl itself.
printf 'Mine=mine{ENTER}\r\n' >>"$inst/Examples.skl"
cp "$inst/Examples.skl" "$work/Examples.before"

# Installing over the running copy ends it and keeps the user's files; start with Windows.
wine_do "$setup" /S /AUTOSTART=1 || fail "installing again failed"
wait_ostrel_gone 20 || fail "installing over the running copy did not end it"
cmp -s "$inst/Keys.fil" "$work/Keys.before" || fail "installing again changed Keys.fil"
[[ -f "$inst/SendKeyList_1.skl" ]] || fail "installing again lost the macro list"
cmp -s "$inst/Examples.skl" "$work/Examples.before" || fail "installing again wrote over Examples.skl"
startup_link || fail "/AUTOSTART=1 made no start-up link"
# The link the program's own option makes: the installed program, shown maximised.
link=$(optprobe link "$programs_win\\Startup\\Ostrel.lnk") || fail "the start-up link cannot be read"
grep -qixF "target=$inst_win\\Ostrel.exe" <<<"$link" && grep -qx "show=3" <<<"$link" &&
  grep -qx "desc=No description available" <<<"$link" || fail "start-up link: $link"
echo "installed over the running copy: it ended; Keys.fil and the .skl kept; start-up link made"

# The uninstaller ends a running copy and keeps the definitions.
run_ostrel "$inst"
[[ "$(optprobe check 106)" == checked=1 ]] || fail "Ostrel does not see the installer's start-up link"
reg_has 'HKLM\Software\Tessaly\Ostrel' || reg_has 'HKCU\Software\Tessaly\Ostrel' ||
  fail "Ostrel stored no options"
wine_do "$inst/Uninstall.exe" /S || fail "the uninstaller failed"
wait_ostrel_gone 20 || fail "the uninstaller did not end the running copy"
eventually "[[ ! -e '$inst/Uninstall.exe' ]]" 30 || fail "the uninstaller left Uninstall.exe"
# Examples.skl stays with the definitions, which may name it.
for f in "${shipped[@]}"; do [[ $f == Examples.skl || ! -e "$inst/$f" ]] || fail "the uninstaller left $f"; done
cmp -s "$inst/Keys.fil" "$work/Keys.before" && cmp -s "$inst/Examples.skl" "$work/Examples.before" ||
  fail "the uninstaller did not keep Keys.fil and Examples.skl"
[[ -f "$inst/SendKeyList_1.skl" ]] || fail "the uninstaller did not keep the macro list"
[[ ! -e "$programs/Ostrel.lnk" ]] || fail "the Start-menu shortcut is left"
! startup_link || fail "the start-up link is left"
! reg_has "$uninst_key" || fail "the Apps entry is left"
! reg_has 'HKCU\Software\Tessaly\Ostrel' || fail "the user's options are left"
! reg_has 'HKLM\Software\Tessaly\Ostrel' || fail "the machine's options are left"
echo "uninstalled, keeping Keys.fil, SendKeyList_1.skl and the changed Examples.skl"

# Again, and uninstalled with the definitions: nothing is left.
wine_do "$setup" /S || fail "installing a third time failed"
cmp -s "$inst/Keys.fil" "$work/Keys.before" || fail "installing over kept definitions changed them"
wine_do "$inst/Uninstall.exe" /S /REMOVEDEFINITIONS || fail "the uninstaller failed"
eventually "[[ ! -e '$inst' ]]" 30 || fail "removing the definitions left $(ls "$inst" 2>&1)"
echo "uninstalled with the definitions: the folder is gone"

# The portable copy, unpacked into a folder with a blank, runs as it is.
portable="$work/Portable Ostrel"
mkdir -p "$portable"
(cd "$portable" && unzip -q "$work/dist/$zip_name") || fail "unzip"
run_ostrel "$portable"
add_definition "$portable" Portable
shot release-portable
echo "the zip runs from \"$portable\" and saves its definitions there"
stop_ostrel

# The self-test, unpacked into a folder with a blank and run by cmd as a user runs it:
# every program passes and the last line counts them. Its runner alone, without the
# programs, must count each one failed and exit 1.
selftest="$work/Ostrel self-test" bare="$work/Runner alone"
mkdir -p "$selftest" "$bare"
(cd "$selftest" && unzip -q "$work/dist/$tests_name") || fail "unzip the self-test"
cp "$selftest/run-tests.cmd" "$bare/"
self_test() {  # folder: the runner's last line and its exit code; its output in a log
  local rc=0
  "$ROOT/scripts/wine-run" cmd.exe /c "$(winpath "$1")\\run-tests.cmd" >"$1.log" 2>&1 || rc=$?
  echo "$(tr -d '\r' <"$1.log" | sed '/^$/d' | tail -1) (exit $rc)"
}
result=$(self_test "$selftest")
if [[ "$result" != "3 passed, 0 failed (exit 0)" ]]; then
  grep -a -E "FAILED|Failure|Expected|Which is|^== " "$selftest.log" | head -40 >&2
  fail "the self-test ended \"$result\" (see $selftest.log)"
fi
result=$(self_test "$bare")
[[ "$result" == "0 passed, 3 failed (exit 1)" ]] || fail "run-tests.cmd alone ended \"$result\""
echo "the self-test runs from \"$selftest\": 3 passed, 0 failed"
echo "release install test passed"
