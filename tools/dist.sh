#!/usr/bin/env bash
# The release package, from the 32-bit build (build/win32): build/dist/nivra-<file
# version>-win32.zip with the stripped nivra.dll, the stripped installation check
# nivra-check.exe, the installation text and the release notes in Russian and SHA256SUMS; the
# debug information stays beside it in build/dist/symbols/nivra.dll.debug, which the DLL names
# by its debug link. NIVRA_DIST_DIR puts all of it elsewhere.
#
# Both programs are given the form a signature leaves behind when it is removed (padded to a
# multiple of 8 bytes, PE checksum filled in), so that a signed file stripped of its signature
# equals the unsigned one. Given a certificate they are signed (Authenticode, SHA-256) before
# they are hashed and zipped:
#   NIVRA_SIGN_PKCS12         the certificate and its key, a .p12/.pfx file
#   NIVRA_SIGN_PASSWORD_FILE  a file holding its password (read by osslsigncode, never shown)
#   NIVRA_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamping server
# Unsigned, the zip is reproducible: the same commit gives the same bytes (fixed entry times,
# modes and order, no extra attributes). The version comes from the built DLL's version
# resource; the release notes' top entry must name the same one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/win32
dist=$(realpath -m "${NIVRA_DIST_DIR:-$root/build/dist}")
objcopy=i686-w64-mingw32-objcopy
notes=$root/tools/dist/CHANGES.txt.in
# objcopy stamps the PE files it writes with this time instead of the current one; 0 as the
# linker leaves it.
export SOURCE_DATE_EPOCH=0
fail() { echo "dist: $*" >&2; exit 1; }

for file in nivra.dll nivra-check.exe; do
  [ -f "$build/$file" ] || fail "$build/$file is missing"
done
pkcs12=${NIVRA_SIGN_PKCS12:-} password=${NIVRA_SIGN_PASSWORD_FILE:-}
if [ -n "$pkcs12$password" ]; then
  [ -f "$pkcs12" ] || fail "NIVRA_SIGN_PKCS12 does not name a certificate file"
  [ -f "$password" ] || fail "NIVRA_SIGN_PASSWORD_FILE does not name a password file"
fi

# The version as the DLL's version resource states it, and as the notes' top entry does.
version=$(i686-w64-mingw32-windres -J coff -O rc -i "$build/nivra.dll" |
  sed -n 's/^ *FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\)$/\1.\2.\3.\4/p')
[ -n "$version" ] || fail "no version resource in $build/nivra.dll"
top=$(sed -n 's/^Версия \([0-9.]*\)$/\1/p' "$notes" | head -1)
[ "$top" = "$version" ] || fail "nivra.dll is version $version, the release notes' top entry" \
  "(tools/dist/CHANGES.txt.in) is '${top:-none}': write the entry for $version first"
sed -n "/^Версия $version\$/,/^Версия /p" "$notes" | grep -q '^  Результаты расчёта: ' ||
  fail "the notes' entry for $version does not say whether results differ" \
    "('  Результаты расчёта: ...')"
name=nivra-$version-win32
# Entry times: the commit's, so that the same commit gives the same archive.
epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null || echo 0)

rm -rf "$dist"
stage=$dist/$name
mkdir -p "$stage" "$dist/symbols"

# The built files, whose symbols show their stack protection, then the stripped ones.
"$root/tools/check-dll.sh" "$build/nivra.dll"
"$root/tools/check-dll.sh" --program "$build/nivra-check.exe"

# The symbols first: the debug link carries a checksum of that very file.
$objcopy --only-keep-debug "$build/nivra.dll" "$dist/symbols/nivra.dll.debug"
(cd "$dist/symbols" && $objcopy --strip-debug --strip-unneeded \
  --add-gnu-debuglink=nivra.dll.debug "$build/nivra.dll" "$stage/nivra.dll")
$objcopy --strip-debug --strip-unneeded "$build/nivra-check.exe" "$stage/nivra-check.exe"
python3 "$root/tools/dist/pe-signable.py" "$stage/nivra.dll" "$stage/nivra-check.exe"
"$root/tools/check-dll.sh" --stripped "$stage/nivra.dll"
"$root/tools/check-dll.sh" --stripped --program "$stage/nivra-check.exe"

if [ -n "$pkcs12" ]; then
  timestamp=()
  [ -z "${NIVRA_SIGN_TIMESTAMP_URL:-}" ] || timestamp=(-ts "$NIVRA_SIGN_TIMESTAMP_URL")
  for file in nivra.dll nivra-check.exe; do
    unsigned=$stage/$file.unsigned
    mv "$stage/$file" "$unsigned"
    osslsigncode sign -pkcs12 "$pkcs12" -readpass "$password" -h sha256 "${timestamp[@]}" \
      -in "$unsigned" -out "$stage/$file" >/dev/null || fail "signing $file failed"
    # What the README promises a lab: without its signature the file is the unsigned build.
    osslsigncode remove-signature -in "$stage/$file" -out "$stage/$file.stripped" >/dev/null
    cmp -s "$unsigned" "$stage/$file.stripped" ||
      fail "$file stripped of its signature differs from the unsigned $file"
    rm -f "$unsigned" "$stage/$file.stripped"
  done
  # The certificate's subject for the log (a .pfx exported by Windows may need OpenSSL's
  # legacy algorithms); the password is read from its file.
  subject=$( { openssl pkcs12 -in "$pkcs12" -passin "file:$password" -nokeys -clcerts 2>/dev/null ||
    openssl pkcs12 -legacy -in "$pkcs12" -passin "file:$password" -nokeys -clcerts 2>/dev/null; } |
    openssl x509 -noout -subject -nameopt utf8,sep_comma_plus 2>/dev/null |
    sed 's/^subject=//') || true
  echo "dist: nivra.dll and nivra-check.exe signed (SHA-256) by" \
    "${subject:-the given certificate}${timestamp:+, time-stamped}"
else
  echo "dist: not signed (no NIVRA_SIGN_PKCS12, NIVRA_SIGN_PASSWORD_FILE): the reproducible package"
fi

# The texts for Windows Notepad: UTF-8 with a byte order mark, CRLF line ends.
notepad() { printf '\xef\xbb\xbf'; sed -e 's/$/\r/' "$@"; }
dll_sha=$(sha256sum "$stage/nivra.dll" | cut -d' ' -f1)
notepad -e "s/@VERSION@/$version/g" -e "s/@DLL_SHA256@/$dll_sha/g" \
  "$root/tools/dist/install.txt.in" >"$stage/install.txt"
notepad "$notes" >"$stage/CHANGES.txt"
files="nivra.dll nivra-check.exe install.txt CHANGES.txt"
(cd "$stage" && sha256sum $files >SHA256SUMS)

chmod 644 "$stage"/*
touch -d "@$epoch" "$stage"/*
(cd "$stage" && TZ=UTC zip -X -D -q "$dist/$name.zip" $files SHA256SUMS)
(cd "$dist" && sha256sum "$name.zip" >"$name.zip.sha256")
rm -rf "$stage"

echo "dist: ${dist#"$root"/}/$name.zip ($(stat -c %s "$dist/$name.zip") bytes)"
echo "dist:   sha256 $(cut -d' ' -f1 "$dist/$name.zip.sha256")"
echo "dist:   nivra.dll sha256 $dll_sha"
echo "dist: symbols in ${dist#"$root"/}/symbols/nivra.dll.debug"
