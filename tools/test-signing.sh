#!/usr/bin/env bash
# Signing stage of `make test`, offline: a throwaway certificate authority and code-signing
# certificate (tools/dist/throwaway-ca.sh) sign a release package made by tools/dist.sh, beside
# an unsigned one made from the same build. Passes only when
#   - each signed file verifies against that authority, and no longer does with one byte
#     changed;
#   - each signed file stripped of its signature equals the unsigned file;
#   - the signed package's SHA256SUMS holds for the files as shipped;
#   - the certificate's password shows up neither in the log nor in the package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "signing: FAILED: $*" >&2; exit 1; }

"$root/tools/dist/throwaway-ca.sh" "$work/ca"
NIVRA_DIST_DIR=$work/unsigned "$root/tools/dist.sh" >"$work/unsigned.log"
NIVRA_DIST_DIR=$work/signed NIVRA_SIGN_PKCS12=$work/ca/signer.p12 \
  NIVRA_SIGN_PASSWORD_FILE=$work/ca/password "$root/tools/dist.sh" >"$work/signed.log" 2>&1 ||
  { cat "$work/signed.log" >&2; fail "the signed package was not made"; }
for kind in unsigned signed; do
  mkdir "$work/$kind/files"
  unzip -q "$work/$kind"/nivra-*-win32.zip -d "$work/$kind/files"
done
password=$(head -1 "$work/ca/password")
! grep -qF "$password" "$work/signed.log" || fail "the password shows in the log"
! unzip -p "$work/signed"/nivra-*-win32.zip | grep -qaF "$password" ||
  fail "the password is in the package"
(cd "$work/signed/files" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not hold"

verify() { osslsigncode verify -CAfile "$work/ca/ca.pem" -in "$1" >"$work/verify.log" 2>&1; }
for file in nivra.dll nivra-check.exe; do
  signed=$work/signed/files/$file unsigned=$work/unsigned/files/$file
  verify "$signed" || { cat "$work/verify.log" >&2; fail "signed $file does not verify"; }
  ! verify "$unsigned" || fail "the unsigned $file verifies as signed"
  # One byte of the code section, which the signature's digest covers.
  cp "$signed" "$work/changed"
  printf '\xcc' | dd of="$work/changed" bs=1 seek=4096 conv=notrunc status=none
  ! verify "$work/changed" && grep -q MISMATCH "$work/verify.log" ||
    fail "$file with one byte changed still verifies, or fails for another reason than its digest"
  rm -f "$work/stripped"
  osslsigncode remove-signature -in "$signed" -out "$work/stripped" >/dev/null
  cmp "$work/stripped" "$unsigned" ||
    fail "$file stripped of its signature differs from the unsigned one"
  echo "signing: $file verifies against the throwaway authority, fails with one byte changed," \
    "equals the unsigned file without its signature ($(sha256sum <"$unsigned" | cut -c1-16)…)"
done
echo "signing: passed"
