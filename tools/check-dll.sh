#!/usr/bin/env bash
# Inspects the shipped 32-bit nivra.dll with objdump -p: a PE32 file that exports exactly
# GetPluginInfo, Load and Unload by plain name and imports only system DLLs and pugixml.dll
# (no MinGW runtime DLL). Prints a short summary; exits 1 on any difference.
set -euo pipefail
dll=${1:-build/win32/nivra.dll}
[ -f "$dll" ] || { echo "check-dll: $dll is missing" >&2; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$dll")

fail() { echo "check-dll: $dll: $*" >&2; exit 1; }

format=$(sed -n 's/.*file format //p' <<<"$dump" | head -1)
magic=$(awk '$1 == "Magic" {print $2; exit}' <<<"$dump")
[ "$format" = pei-i386 ] && [ "$magic" = 010b ] || fail "not PE32 (format $format, magic $magic)"

# The names of the export name table, in its order.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
[ "$exports" = "GetPluginInfo Load Unload " ] || fail "exports are '$exports'"

imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$dump" | sort -f | tr '\n' ' ')
for name in $imports; do
  case "${name,,}" in
    kernel32.dll | user32.dll | gdi32.dll | comctl32.dll | msvcrt.dll | advapi32.dll | \
      shell32.dll | ole32.dll | pugixml.dll) ;;
    *) fail "imports $name, which is neither a system DLL nor pugixml.dll" ;;
  esac
done
grep -qi '^pugixml.dll ' <<<"$(tr ' ' '\n' <<<"$imports" | sed 's/$/ /')" ||
  fail "does not import pugixml.dll"

echo "check-dll: $dll: $format (PE32, magic $magic); exports: $exports; imports: $imports"
