#!/usr/bin/env bash
# check-dll.sh [--stripped] [--program] [FILE]: inspects the 32-bit nivra.dll with objdump -p:
# a PE32 file that exports exactly GetPluginInfo, Load and Unload by plain name, imports only
# system DLLs (no MinGW runtime, no pugixml.dll: pugixml is compiled in) and only functions
# listed in tools/dist/windows7-imports.txt, each present in Windows 7 SP1. Those DLLs are
# KnownDLLs, which Windows never looks for beside the file, except the common controls, which
# the DLL's manifest (resource 2, the one the loader binds a library's imports by) takes from
# the side-by-side store. It is marked DYNAMIC_BASE and NX_COMPAT and has no section both
# writable and executable. Unstripped (the build's copy) its symbols show the stack protection:
# the guard value, functions that check it, and the checked string and memory calls. With
# --stripped (the release package's copy) it has no debug sections and a debug link to its
# symbols file instead. With --program FILE is a program (nivra-check.exe): the same rules
# without the common controls, no exports and no debug link required.
# Prints a short summary; exits 1 on any difference.
set -euo pipefail
stripped=0 program=0
while [ $# -gt 0 ]; do
  case $1 in
    --stripped) stripped=1 ;;
    --program) program=1 ;;
    *) break ;;
  esac
  shift
done
dll=${1:-build/win32/nivra.dll}
allowed=$(dirname "$0")/dist/windows7-imports.txt
[ -f "$dll" ] || { echo "check-dll: $dll is missing" >&2; exit 1; }
dump=$(i686-w64-mingw32-objdump -p "$dll")

fail() { echo "check-dll: $dll: $*" >&2; exit 1; }

format=$(sed -n 's/.*file format //p' <<<"$dump" | head -1)
magic=$(awk '$1 == "Magic" {print $2; exit}' <<<"$dump")
[ "$format" = pei-i386 ] && [ "$magic" = 010b ] || fail "not PE32 (format $format, magic $magic)"

# The names of the export name table, in its order.
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" |
  sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
if ((program)); then
  [ -z "$exports" ] || fail "a program that exports '$exports'"
else
  [ "$exports" = "GetPluginInfo Load Unload " ] || fail "exports are '$exports'"
fi

# Every imported function as "dll function", the DLL name in lower case.
imported=$(awk '/DLL Name:/ { dll = tolower($3); next }
  dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll, $3 }' <<<"$dump" | sort -u)
[ -n "$imported" ] || fail "no imports found"
unknown=$(comm -23 <(echo "$imported") <(grep -v '^#' "$allowed" | awk 'NF == 2 { print tolower($1), $2 }' | sort -u))
[ -z "$unknown" ] || fail "imports what is not known to exist in Windows 7 SP1:
$unknown"
dlls=$(cut -d' ' -f1 <<<"$imported" | sort -u | tr '\n' ' ')

# KnownDLLs of Windows 7 SP1 that still are in Windows 10 and 11.
known="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll
shlwapi.dll user32.dll ws2_32.dll"
manifest=$(i686-w64-mingw32-windres -J coff -O rc -i "$dll" 2>/dev/null |
  sed -n '/^2 24 \/\* RT_MANIFEST \*\//,/^END/p' || true)
for name in $dlls; do
  grep -qw "$name" <<<"$known" && continue
  if [ "$name" = comctl32.dll ] && ((!program)) &&
    grep -q 'name=""Microsoft.Windows.Common-Controls""' <<<"$manifest"; then
    continue
  fi
  fail "imports $name, which is no KnownDLL: Windows would take a file of that name beside it"
done

characteristics=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$dump")
for flag in DYNAMIC_BASE NX_COMPAT; do
  grep -qw "$flag" <<<"$characteristics" || fail "is not marked $flag"
done
# objdump shows a section without the write permission as READONLY, an executable one as CODE.
wx=$(i686-w64-mingw32-objdump -h "$dll" |
  awk '$2 ~ /^\./ { name = $2; next } name != "" && /CODE/ && !/READONLY/ { print name } { name = "" }')
[ -z "$wx" ] || fail "has sections both writable and executable: $wx"

guard=
if ((!stripped)); then
  symbols=$(i686-w64-mingw32-nm "$dll")
  for symbol in ___stack_chk_guard ___stack_chk_fail ___chk_fail; do
    grep -q " T $symbol\$\| B $symbol\$" <<<"$symbols" ||
      fail "has no $symbol: built without stack protection"
  done
  calls=$(i686-w64-mingw32-objdump -d --no-show-raw-insn "$dll" | grep -c 'call .*<___stack_chk_fail>' || true)
  ((calls > 0)) || fail "no function checks the stack guard"
  guard="; stack guard checked at $calls places"
fi

if ((stripped)); then
  sections=$(i686-w64-mingw32-objdump -h "$dll" | awk '$2 ~ /^\./ { print $2 }')
  ! grep -q '^\.debug' <<<"$sections" || fail "carries debug information"
  ((program)) || grep -qx '\.gnu_debuglink' <<<"$sections" || fail "has no debug link"
fi

echo "check-dll: $dll: $format (PE32)$( ((stripped)) && echo ', stripped'); exports: ${exports:-none};" \
  "imports $(wc -l <<<"$imported") functions of ${dlls% }$guard"
