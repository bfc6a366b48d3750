# Shared by the project's scripts.

# The Windows tree whose programs this machine can run under Wine: win32 where 32-bit
# code runs, win64 where the kernel offers no 32-bit mode (the product stays 32-bit).
test_arch() {
  if [[ -n "${OSTREL_TEST_ARCH:-}" ]]; then echo "$OSTREL_TEST_ARCH"; return; fi
  # 32-bit Wine running through an emulator (binfmt_misc with qemu) is too slow to use.
  if [[ -x /usr/lib/wine/wine && ! -e /proc/sys/fs/binfmt_misc/qemu-i386 ]] &&
     /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}
