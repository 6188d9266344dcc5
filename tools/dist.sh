#!/usr/bin/env bash
# The release package, from the 32-bit build (build/win32): build/dist/nivra-<file
# version>-win32.zip with the stripped nivra.dll, the stripped installation check
# nivra-check.exe, the installation text in Russian and SHA256SUMS; the debug information
# stays beside it in build/dist/symbols/nivra.dll.debug, which the DLL names by its debug link.
# The zip is reproducible: the same commit gives the same bytes (fixed entry times, modes and
# order, no extra attributes).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win32
dist=$root/build/dist
objcopy=i686-w64-mingw32-objcopy
# objcopy stamps the PE files it writes with this time instead of the current one; 0 as the
# linker leaves it.
export SOURCE_DATE_EPOCH=0

for file in nivra.dll nivra-check.exe; do
  [ -f "$build/$file" ] || { echo "dist: $build/$file is missing" >&2; exit 1; }
done
version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\),\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1.\2.\3.\4/p' \
  "$root/plugin/version.rc")
[ -n "$version" ] || { echo "dist: no FILEVERSION in plugin/version.rc" >&2; exit 1; }
name=nivra-$version-win32
# Entry times: the commit's, so that the same commit gives the same archive.
epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)

rm -rf "$dist"
stage=$dist/$name
mkdir -p "$stage" "$dist/symbols"

# The symbols first: the debug link carries a checksum of that very file.
$objcopy --only-keep-debug "$build/nivra.dll" "$dist/symbols/nivra.dll.debug"
(cd "$dist/symbols" && $objcopy --strip-debug --strip-unneeded \
  --add-gnu-debuglink=nivra.dll.debug "$build/nivra.dll" "$stage/nivra.dll")
"$root/tools/check-dll.sh" --stripped "$stage/nivra.dll"
$objcopy --strip-debug --strip-unneeded "$build/nivra-check.exe" "$stage/nivra-check.exe"
"$root/tools/check-dll.sh" --stripped --program "$stage/nivra-check.exe"

# The installation text for Windows Notepad: UTF-8 with a byte order mark, CRLF line ends.
dll_sha=$(sha256sum "$stage/nivra.dll" | cut -d' ' -f1)
{
  printf '\xef\xbb\xbf'
  sed -e "s/@VERSION@/$version/g" -e "s/@DLL_SHA256@/$dll_sha/g" -e 's/$/\r/' \
    "$root/tools/dist/install.txt.in"
} >"$stage/install.txt"
files="nivra.dll nivra-check.exe install.txt"
(cd "$stage" && sha256sum $files >SHA256SUMS)

chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*
(cd "$stage" && TZ=UTC zip -X -D -q "$dist/$name.zip" $files SHA256SUMS)
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")
rm -rf "$stage"

echo "dist: build/dist/$name.zip ($(stat -c %s "$dist/$name.zip") bytes)"
echo "dist:   sha256 $(cut -d' ' -f1 "$dist/$name.zip.sha256")"
echo "dist:   nivra.dll sha256 $dll_sha"
echo "dist: symbols in build/dist/symbols/nivra.dll.debug"
