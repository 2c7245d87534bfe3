#!/usr/bin/env bash
# Signs a copy of the built installer with a throw-away certificate and checks the result:
# osslsigncode accepts the signature, the payload still verifies and reports the same, and a
# copy whose signed bytes were changed afterwards is refused. The signed copy stays in
# WORKDIR for the test that starts it under Wine.
#   check_signed_installer.sh SIGN_SCRIPT LUDRIN-PACK INSTALLER WORKDIR
set -euo pipefail
sign=$1 pack=$2 installer=$3 work=$4

fail() { echo "FAILED: $*" >&2; exit 1; }
for tool in openssl osslsigncode; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (Debian package $tool)"
done

rm -rf "$work"
mkdir -p "$work"
cd "$work"

# A self-signed code-signing certificate, valid for a day, and its key behind a password.
openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 1 \
    -subj "/CN=Ludrin throw-away test signer" \
    -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" 2>/dev/null
printf 'test password\n' >password.txt
openssl pkcs12 -export -inkey key.pem -in cert.pem -out signer.p12 -passout file:password.txt

cp "$installer" InstallLudrin.exe
"$pack" report InstallLudrin.exe >report-unsigned.txt
unsigned_size=$(stat -c %s InstallLudrin.exe)

# A wrong password fails and leaves the file as it was.
printf 'wrong\n' >wrong.txt
if "$sign" InstallLudrin.exe --pkcs12 signer.p12 --password-file wrong.txt --pack "$pack" \
    >wrong.log 2>&1; then
    fail "scripts/sign succeeded with a wrong password"
fi
cmp -s "$installer" InstallLudrin.exe || fail "a failed signing changed the installer"
[ -z "$(find . -name '.signing.*')" ] || fail "a failed signing left its temporary file"

"$sign" InstallLudrin.exe --pkcs12 signer.p12 --password-file password.txt --pack "$pack" ||
    fail "scripts/sign"
[ "$(stat -c %s InstallLudrin.exe)" -gt "$unsigned_size" ] || fail "signing added no certificate table"

osslsigncode verify -in InstallLudrin.exe -CAfile cert.pem >verify.log 2>&1 ||
    { cat verify.log; fail "osslsigncode refuses the signature"; }
grep -q "Signature verification: ok" verify.log || { cat verify.log; fail "no verified signature"; }

# The certificate table appended by signing is no part of the payload.
"$pack" verify InstallLudrin.exe >pack-verify.log || { cat pack-verify.log; fail "ludrin-pack verify"; }
"$pack" report InstallLudrin.exe >report-signed.txt
diff -u report-unsigned.txt report-signed.txt || fail "signing changed the release report"

# One byte changed in the middle of the signed image: the signature no longer holds.
cp InstallLudrin.exe tampered.exe
middle=$((unsigned_size / 2))
byte=$(od -An -tu1 -j "$middle" -N1 tampered.exe | tr -d ' ')
printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
    dd of=tampered.exe bs=1 seek="$middle" conv=notrunc status=none
cmp -s InstallLudrin.exe tampered.exe && fail "the tampered copy did not change"
if osslsigncode verify -in tampered.exe -CAfile cert.pem >tampered.log 2>&1; then
    cat tampered.log
    fail "osslsigncode accepts a signed file changed after signing"
fi
echo "signed installer: signature ok, payload verified, report unchanged, tampering detected"
