#!/usr/bin/env bash
# Makes this x86_64 machine able to run 32-bit Windows programs: 32-bit Wine (wine32:i386)
# whose i386 Linux loader the kernel hands to qemu-user through binfmt_misc.
# Idempotent and quick when everything is in place.
#
# Exit codes: 0 ready; 77 the kernel or the package system refuses (the 32-bit stage is
# then not run, which callers must report as such and never as passed); other codes are
# ordinary failures.
set -euo pipefail

qemu=/usr/bin/qemu-i386
# shellcheck source=tools/win32/qemu-pin.sh
. "$(dirname "$0")/qemu-pin.sh"
binfmt=/proc/sys/fs/binfmt_misc
# ELF, 32-bit, little endian, executable or shared object, machine EM_386 (3).
i386_magic='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
i386_mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
# How an enabled handler for the same magic appears when read back from binfmt_misc.
i386_magic_hex=7f454c4601010100000000000000000002000300

# The reason goes to standard error as the last line, which tools/test-windows.sh reports.
refuse() {
  echo "win32: refused: $*" >&2
  exit 77
}

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

# The packages come from tools/bootstrap.sh, which installs them when run as root.
if ! installed wine32:i386 || ! qemu_pin_installed; then
  [ "$(id -u)" -eq 0 ] || refuse "32-bit Wine or qemu-user $qemu_version missing and not root"
  echo "win32: 32-bit Wine or qemu-user $qemu_version is missing: run tools/bootstrap.sh" >&2
  exit 1
fi
[ -x "$qemu" ] || refuse "$qemu is missing"
[ -x /usr/lib/wine/wine ] || refuse "/usr/lib/wine/wine (32-bit Wine loader) is missing"

# The kernel's handler table for foreign executables.
if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    refuse "cannot mount binfmt_misc at $binfmt"
fi
[ -w "$binfmt/register" ] || refuse "$binfmt/register is not writable"

i386_handler() { # prints the name of an enabled handler for i386 ELF programs
  local entry
  for entry in "$binfmt"/*; do
    case "$(basename "$entry")" in register | status) continue ;; esac
    [ -r "$entry" ] || continue
    if grep -qx enabled "$entry" && grep -q "^magic $i386_magic_hex" "$entry"; then
      basename "$entry"
      return 0
    fi
  done
  return 1
}

# The emulator the kernel runs for i386 programs. A handler registered with flag F keeps the
# file it opened at registration, so after qemu-user was replaced it still runs the old one:
# only asking that emulator itself (QEMU_VERSION makes it print its version and exit) tells.
kernel_qemu() { QEMU_VERSION=1 /usr/lib/wine/wine 2>/dev/null | sed -n '1s/^qemu-i386 version //p'; }
wanted="${qemu_version#*:}"
wanted="${wanted%%+*}"
is_wanted() { [[ "$1" == "$wanted ("* ]]; }
if handler=$(i386_handler) && running=$(kernel_qemu) && ! is_wanted "$running"; then
  [ "$(id -u)" -eq 0 ] || refuse "the kernel's i386 handler $handler runs another emulator and not root"
  echo "win32: the kernel's i386 handler $handler runs qemu $running; registering $qemu anew"
  echo -1 >"$binfmt/$handler" || refuse "the kernel refused to remove handler $handler"
  handler=
fi
if [ -z "${handler:-}" ]; then
  # F: the kernel opens the emulator now, so it works from any mount namespace later.
  if ! printf '%s' ":qemu-i386:M::$i386_magic:$i386_mask:$qemu:F" >"$binfmt/register" 2>/dev/null; then
    refuse "the kernel refused to register $qemu for i386 programs"
  fi
  handler=$(i386_handler) || refuse "the i386 handler did not appear after registration"
fi
running=$(kernel_qemu)
is_wanted "$running" || refuse "the kernel's i386 handler runs qemu '$running', not $wanted"

# One real 32-bit program proves the chain end to end.
version=$(/usr/lib/wine/wine --version 2>/dev/null) ||
  refuse "/usr/lib/wine/wine does not start through handler $handler"
echo "win32: 32-bit emulation ready (handler $handler, $version)"
