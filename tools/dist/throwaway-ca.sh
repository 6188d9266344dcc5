#!/usr/bin/env bash
# throwaway-ca.sh DIR: makes, for tests only, a certificate authority that nothing trusts and a
# code-signing certificate it issued, valid for two days, new keys on every run:
#   DIR/ca.pem        the authority's certificate (for osslsigncode verify -CAfile)
#   DIR/signer.pem    the code-signing certificate
#   DIR/signer.p12    its key and certificate chain, protected by the password in
#   DIR/password      (a random one)
# Nothing of it is ever committed or shipped.
set -euo pipefail
dir=$1
mkdir -p "$dir"
cd "$dir"
openssl rand -hex 16 >password
openssl req -x509 -new -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -days 2 \
  -subj "/CN=nivra throwaway test authority" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  2>/dev/null
openssl req -new -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -utf8 \
  -subj "/O=Нивра Лаб/CN=Нивра Лаб (тестовая подпись)" 2>/dev/null
printf '%s\n' "basicConstraints=CA:FALSE" "keyUsage=critical,digitalSignature" \
  "extendedKeyUsage=codeSigning" >signer.ext
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -set_serial "0x$(openssl rand -hex 8)" \
  -days 2 -extfile signer.ext -out signer.pem 2>/dev/null
openssl pkcs12 -export -inkey signer.key -in signer.pem -certfile ca.pem -out signer.p12 \
  -passout file:password
rm -f ca.key signer.key signer.csr signer.ext
