# Shared by the project's scripts.

# Where Debian puts Wine's loaders (OSTREL_WINE_DIR points the scripts' own checks at a
# stand-in). Decide nothing from it before scripts/install-deps has run: on a new machine
# Wine only arrives with the install step.
wine_dir() { echo "${OSTREL_WINE_DIR:-/usr/lib/wine}"; }

# The Windows tree whose programs this machine can run under Wine: win32 where 32-bit
# code runs, win64 where the kernel offers no 32-bit mode (the product stays 32-bit).
test_arch() {
  if [[ -n "${OSTREL_TEST_ARCH:-}" ]]; then echo "$OSTREL_TEST_ARCH"; return; fi
  local loader; loader="$(wine_dir)/wine"
  # 32-bit Wine running through an emulator (binfmt_misc with qemu) is too slow to use.
  if [[ -x "$loader" && ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]] &&
     "$loader" --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

# The Wine architecture of a Windows tree: i686 for win32, x86_64 for win64.
wine_arch() {
  if [[ "$1" == win64 ]]; then echo x86_64; else echo i686; fi
}

# The trees to build when none are named, for the Windows tree $1 that the tests run
# (what test_arch said): the native and fuzz trees, the shipped win32 tree always, and
# win64 where that is the tree the Windows tests run.
default_trees() {
  local trees=(native fuzz win32)
  if [[ "$1" == win64 ]]; then trees+=(win64); fi
  echo "${trees[*]}"
}

# The test runs of scripts/test for the Windows tree $1, one a line:
# "<tree>[:<ctest arguments>]". Where that tree is win32, its Wine ring runs twice: in
# its 32-bit prefix, and in a 64-bit one (label wow64) as on users' 64-bit Windows.
# Where it is win64, the shipped win32 tree still runs the checks that need no Wine.
test_runs() {
  printf '%s\n' native fuzz
  if [[ "$1" == win32 ]]; then
    printf '%s\n' "win32:-LE wow64" "win32:-L wow64"
  else
    printf '%s\n' "$1" "win32:-L nowine"
  fi
}

# Exports the Wine of an architecture: WINELOADER, WINEARCH, WINESERVER, and the settings
# every run uses. i686 and x86_64 run programs of that kind in a prefix of their own
# kind; wow64 runs 32-bit programs in a 64-bit prefix, served by the 64-bit wineserver.
wine_tools() {
  if [[ "$1" == x86_64 ]]; then
    export WINELOADER="$(wine_dir)/wine64" WINEARCH=win64 WINESERVER="$(wine_dir)/wineserver64"
  elif [[ "$1" == wow64 ]]; then
    export WINELOADER="$(wine_dir)/wine" WINEARCH=win64 WINESERVER="$(wine_dir)/wineserver64"
  else
    export WINELOADER="$(wine_dir)/wine" WINEARCH=win32 WINESERVER="$(wine_dir)/wineserver32"
  fi
  [[ -x "$WINESERVER" ]] || WINESERVER=$(command -v wineserver || echo wineserver)
  export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
}

# The loader of the prefix's own programs (wineboot, reg, the desktop): a 64-bit prefix
# is made and run by the 64-bit one, whichever kind of program the tests start in it.
system_loader() {
  if [[ "$WINEARCH" == win64 ]]; then echo "$(wine_dir)/wine64"; else echo "$WINELOADER"; fi
}

# Makes the Wine prefix at $1 once (after wine_tools), with Wine's own fonts in it and,
# when $2 is "desktop", one 1024x768 virtual desktop named "shell" (with a taskbar and a
# notification area) that every Wine program of the prefix shares.
ensure_prefix() {
  local prefix=$1 desktop=${2:-}
  export WINEPREFIX="$prefix"
  [[ -f "$prefix/.ostrel-ready" ]] && return 0
  echo "creating the Wine prefix $prefix (once)"
  mkdir -p "$(dirname "$prefix")"
  local ok=1 loader; loader=$(system_loader)
  "$loader" wineboot -i >"$prefix.log" 2>&1 || ok=0
  if [[ "$desktop" == desktop && $ok -eq 1 ]]; then
    "$loader" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f \
      >>"$prefix.log" 2>&1 || ok=0
    "$loader" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d 1024x768 /f \
      >>"$prefix.log" 2>&1 || ok=0
  fi
  "$WINESERVER" -w || true
  # Whole means booted, with its registry and its Windows folder; only then is it marked,
  # so that a broken prefix is made again next time instead of staying broken.
  if [[ $ok -eq 0 || ! -f "$prefix/system.reg" || ! -f "$prefix/user.reg" ||
        ! -d "$prefix/drive_c/windows/system32" ||
        ( "$WINEARCH" == win64 && ! -d "$prefix/drive_c/windows/syswow64" ) ]]; then
    echo "the Wine prefix $prefix could not be made (see $prefix.log); it is not marked ready" >&2
    return 1
  fi
  # Wine's own fonts (Marlett for the caption buttons, MS Sans Serif, Tahoma) are not
  # found by every Wine build; the prefix's Fonts folder always is.
  if [[ -d /usr/share/wine/fonts ]]; then
    cp -n /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  fi
  touch "$prefix/.ostrel-ready"
}
