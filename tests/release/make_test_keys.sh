#!/usr/bin/env bash
# Throwaway keys for testing signed releases, in DIR: two OpenPGP keys
# (signing.asc, armored secret, its passphrase in signing.pass, public half
# in signing.pub; other.asc/other.pub, a stranger's), and a code-signing
# certificate (codesign.pem, key codesign.key, passphrase codesign.pass)
# issued by a certificate authority of its own (ca.pem).
#   make_test_keys.sh DIR
set -euo pipefail
dir=$1
rm -rf "$dir"
mkdir -p "$dir"
chmod 700 "$dir"
home=$(mktemp -d /tmp/velmora-test-gnupg.XXXXXX)
trap 'gpgconf --homedir "$home" --kill gpg-agent 2>/dev/null || true; rm -rf "$home"' EXIT
gpg_() { gpg --homedir "$home" --batch --no-tty --pinentry-mode loopback --quiet "$@"; }
head -c 24 /dev/urandom | base64 >"$dir/signing.pass"
for name in signing other; do
    passphrase=()
    [ "$name" = other ] || passphrase=(--passphrase-file "$dir/signing.pass")
    [ "$name" = signing ] || passphrase=(--passphrase '')
    gpg_ "${passphrase[@]}" --quick-gen-key "Velmora test $name key <$name@test.invalid>" ed25519 sign 1d
    gpg_ "${passphrase[@]}" --armor --export-secret-keys "$name@test.invalid" >"$dir/$name.asc"
    gpg_ --armor --export "$name@test.invalid" >"$dir/$name.pub"
done

head -c 24 /dev/urandom | base64 >"$dir/codesign.pass"
openssl req -x509 -newkey rsa:3072 -nodes -keyout "$dir/ca.key" -out "$dir/ca.pem" -days 2 \
    -subj "/CN=Velmora test CA" -addext basicConstraints=critical,CA:TRUE \
    -addext keyUsage=critical,keyCertSign,cRLSign 2>/dev/null
openssl req -newkey rsa:3072 -keyout "$dir/codesign.key" -passout "file:$dir/codesign.pass" \
    -out "$dir/codesign.csr" -subj "/CN=Velmora test publisher/O=Kestrane" 2>/dev/null
openssl x509 -req -in "$dir/codesign.csr" -CA "$dir/ca.pem" -CAkey "$dir/ca.key" -CAcreateserial \
    -days 2 -out "$dir/codesign.pem" -extfile <(printf '%s\n' \
        basicConstraints=critical,CA:FALSE keyUsage=critical,digitalSignature \
        extendedKeyUsage=codeSigning) 2>/dev/null
rm -f "$dir/codesign.csr" "$dir/ca.srl"
