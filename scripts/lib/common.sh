# Shared by the project's scripts.

# The Windows tree whose programs this machine can run under Wine: win32 where 32-bit
# code runs, win64 where the kernel offers no 32-bit mode (the product stays 32-bit).
test_arch() {
  if [[ -n "${OSTREL_TEST_ARCH:-}" ]]; then echo "$OSTREL_TEST_ARCH"; return; fi
  if [[ -x /usr/lib/wine/wine ]] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}
