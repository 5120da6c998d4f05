#!/usr/bin/env bash
# The signing step of the Windows build (cmake/SignProgram.cmake, which
# `make windows SIGN_PFX=...` runs after linking) signs a copy of the built
# program with a throw-away certificate made here, so that osslsigncode
# verifies it: the signature is there, its digest is the program's, and its
# chain leads to the certificate (trusted for the check alone, as it is
# self-signed).
#
#   signature.sh PROGRAM.exe SignProgram.cmake WORK_DIR
set -u
program=$1 script=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 1
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Valdor Test Signer" \
  -addext extendedKeyUsage=codeSigning -keyout key.pem -out cert.pem 2>openssl.log ||
  fail "openssl could not make the certificate: $(cat openssl.log)"
printf 'pass word\n' >password.txt
openssl pkcs12 -export -inkey key.pem -in cert.pem -passout file:password.txt -out signer.pfx ||
  fail "openssl could not make the PKCS#12 file"
# The program as linked (a tree that signs has signed it already).
if ! osslsigncode remove-signature -in "$program" -out unsigned.exe >/dev/null 2>&1; then
  cp "$program" unsigned.exe
fi
cp unsigned.exe signed.exe

cmake -DOSSLSIGNCODE="$(command -v osslsigncode)" -DPROGRAM="$PWD/signed.exe" \
  -DPFX="$PWD/signer.pfx" -DPASSWORD_FILE="$PWD/password.txt" -P "$script" ||
  fail "the signing step failed"

osslsigncode verify -CAfile cert.pem -in signed.exe >verify.log 2>&1
status=$?
cat verify.log
[ $status -eq 0 ] || fail "osslsigncode does not verify the signed program"
current=$(sed -n 's/^Current message digest *: *//p' verify.log | tr -d ' ')
calculated=$(sed -n 's/^Calculated message digest *: *//p' verify.log | tr -d ' ')
[ -n "$current" ] && [ "$current" = "$calculated" ] ||
  fail "the signed digest ($current) is not the program's ($calculated)"
grep -q 'Subject: /CN=Valdor Test Signer' verify.log || fail "the signer is not the certificate's"
# The check itself can fail: without the step there is no signature.
osslsigncode verify -CAfile cert.pem -in unsigned.exe >/dev/null 2>&1 &&
  fail "osslsigncode verifies the unsigned program"
echo "signed and verified"
