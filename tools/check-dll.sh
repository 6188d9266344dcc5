#!/usr/bin/env bash
# check-dll.sh [--stripped] [--program] [FILE]: inspects the 32-bit nivra.dll with objdump -p:
# a PE32 file that exports exactly GetPluginInfo, Load and Unload by plain name, imports only
# system DLLs (no MinGW runtime, no pugixml.dll: pugixml is compiled in) and only functions
# listed in tools/dist/windows7-imports.txt, each present in Windows 7 SP1. With --stripped
# (the release package's copy) it also has no debug sections and a debug link to its symbols
# file. With --program FILE is a program (nivra-check.exe): the same imports rule, no exports
# and no debug link required.
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

if ((stripped)); then
  sections=$(i686-w64-mingw32-objdump -h "$dll" | awk '$2 ~ /^\./ { print $2 }')
  ! grep -q '^\.debug' <<<"$sections" || fail "carries debug information"
  ((program)) || grep -qx '\.gnu_debuglink' <<<"$sections" || fail "has no debug link"
fi

echo "check-dll: $dll: $format (PE32)$( ((stripped)) && echo ', stripped'); exports: ${exports:-none};" \
  "imports $(wc -l <<<"$imported") functions of $dlls"
