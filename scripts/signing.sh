# shellcheck shell=bash
# What a release signs and publishes besides its builds: the OpenPGP
# signatures of SHA256SUMS and of the source archive, the apt repository,
# and the Authenticode signatures of the Windows programs. Sourced, not run.
# The keys stay where the environment names them; nothing of them is copied
# into the tree, the downloads or a log:
#   VELMORA_SIGNING_KEY               an armored OpenPGP secret key file, imported
#                                     into a GnuPG home of this run's own
#   VELMORA_SIGNING_PASSPHRASE_FILE   the file holding its passphrase, if it has one
#   VELMORA_GPG_KEY_ID                or else a key of the user's own GnuPG, which
#                                     its agent unlocks as usual
#   VELMORA_CODESIGN_CERT             the code-signing certificate, PEM, any
#                                     intermediate certificates after it
#   VELMORA_CODESIGN_KEY              its private key, PEM
#   VELMORA_CODESIGN_PASSPHRASE_FILE  the file holding that key's passphrase, if any
#   VELMORA_TIMESTAMP_URL             the RFC 3161 timestamp server of the
#                                     certificate's issuer; unset or empty for none

# Files named relative to where the release was started still count once
# it has changed folders.
signing_files_absolute() {
    local name
    for name in VELMORA_SIGNING_KEY VELMORA_SIGNING_PASSPHRASE_FILE VELMORA_CODESIGN_CERT \
                VELMORA_CODESIGN_KEY VELMORA_CODESIGN_PASSPHRASE_FILE; do
        [ -z "${!name:-}" ] || export "$name=$(realpath -m -- "${!name}")"
    done
}

# openpgp_setup LOG: sets openpgp (the gpg command that signs, empty without
# a key) and openpgp_fingerprint. A key named but unusable fails the release.
openpgp=()
openpgp_fingerprint=
openpgp_home=
openpgp_setup() {
    local log=$1
    if [ -n "${VELMORA_SIGNING_KEY:-}" ]; then
        if [ ! -r "$VELMORA_SIGNING_KEY" ]; then
            echo "release: VELMORA_SIGNING_KEY names $VELMORA_SIGNING_KEY, which cannot be read" >&2
            return 1
        fi
        # A short path: gpg-agent's socket lives in it.
        openpgp_home=$(mktemp -d /tmp/velmora-gnupg.XXXXXX)
        openpgp=(gpg --homedir "$openpgp_home" --batch --no-tty --pinentry-mode loopback)
        if [ -n "${VELMORA_SIGNING_PASSPHRASE_FILE:-}" ]; then
            openpgp+=(--passphrase-file "$VELMORA_SIGNING_PASSPHRASE_FILE")
        else
            openpgp+=(--passphrase '')
        fi
        if ! "${openpgp[@]}" --import "$VELMORA_SIGNING_KEY" >>"$log" 2>&1; then
            echo "release: the key in $VELMORA_SIGNING_KEY could not be imported; see $log" >&2
            return 1
        fi
        openpgp_fingerprint=$("${openpgp[@]}" --with-colons --list-secret-keys 2>>"$log" |
            awk -F: '$1 == "fpr" { print $10; exit }')
    elif [ -n "${VELMORA_GPG_KEY_ID:-}" ]; then
        openpgp=(gpg --no-tty)
        openpgp_fingerprint=$(gpg --with-colons --list-secret-keys -- "$VELMORA_GPG_KEY_ID" 2>>"$log" |
            awk -F: '$1 == "fpr" { print $10; exit }')
    else
        return 0
    fi
    if [ -z "$openpgp_fingerprint" ]; then
        echo "release: no secret key to sign with (VELMORA_SIGNING_KEY or VELMORA_GPG_KEY_ID); see $log" >&2
        return 1
    fi
    openpgp+=(--local-user "$openpgp_fingerprint" --digest-algo SHA512 --yes)
    # A wrong passphrase fails now, not after the builds; an agent asks for
    # it now, while whoever started the release is still there.
    if ! echo | "${openpgp[@]}" --detach-sign >/dev/null 2>>"$log"; then
        echo "release: the key $openpgp_fingerprint cannot sign (its passphrase?); see $log" >&2
        return 1
    fi
    local project
    project=$(gpg --show-keys --with-colons "$VELMORA_ROOT/debian/upstream/signing-key.asc" 2>/dev/null |
        awk -F: '$1 == "fpr" { print $10; exit }')
    [ "$openpgp_fingerprint" = "$project" ] ||
        echo "release: note: signing with $openpgp_fingerprint, not the project's key $project"
}

openpgp_cleanup() {
    [ -n "$openpgp_home" ] || return 0
    gpgconf --homedir "$openpgp_home" --kill gpg-agent 2>/dev/null || true
    rm -rf "$openpgp_home"
    openpgp_home=
}

# openpgp_detach FILE LOG: FILE.asc beside it, as gpgv, sqv and uscan check it.
openpgp_detach() {
    "${openpgp[@]}" --armor --detach-sign --output "$1.asc" "$1" >>"$2" 2>&1
}

# codesign_setup: says whether a code-signing certificate is given, and
# settles the timestamp server for every program signed in this run: where
# none answers, the programs are signed without a timestamp, and told so.
codesign_setup() {
    [ -n "${VELMORA_CODESIGN_CERT:-}" ] || return 1
    local file
    for file in "$VELMORA_CODESIGN_CERT" "${VELMORA_CODESIGN_KEY:-}" ${VELMORA_CODESIGN_PASSPHRASE_FILE:+"$VELMORA_CODESIGN_PASSPHRASE_FILE"}; do
        if [ ! -r "$file" ]; then
            echo "release: VELMORA_CODESIGN_CERT is given, but '$file' (certificate, key or passphrase) cannot be read" >&2
            exit 1
        fi
    done
    export VELMORA_TIMESTAMP_URL=${VELMORA_TIMESTAMP_URL:-}
    # Any answer over HTTP will do: a timestamp server answers only a request.
    if [ -n "$VELMORA_TIMESTAMP_URL" ] &&
       ! curl --silent --output /dev/null --max-time 15 "$VELMORA_TIMESTAMP_URL"; then
        echo "release: no timestamp server answers at $VELMORA_TIMESTAMP_URL: the Windows programs"
        echo "are signed without a timestamp, so Windows trusts them only while the certificate is valid"
        VELMORA_TIMESTAMP_URL=
    fi
    return 0
}

# apt_repository FOLDER DEB...: the apt repository of these packages, one
# suite "stable" with one component "main", made by Debian's apt-ftparchive;
# dated SOURCE_DATE_EPOCH, so that one release's is the same bytes from every
# build. Unsigned: openpgp_sign_repository signs it.
apt_repository() {
    local repo=$1 arch
    shift
    rm -rf "$repo"
    mkdir -p "$repo/pool/main/v/velmora" "$repo/dists/stable"
    cp "$@" "$repo/pool/main/v/velmora/"
    for arch in amd64 arm64; do
        mkdir -p "$repo/dists/stable/main/binary-$arch"
        (cd "$repo" && apt-ftparchive --arch "$arch" packages pool) \
            >"$repo/dists/stable/main/binary-$arch/Packages"
        gzip -9n <"$repo/dists/stable/main/binary-$arch/Packages" \
            >"$repo/dists/stable/main/binary-$arch/Packages.gz"
    done
    local field fields=(
        Origin=Velmora Label=Velmora Suite=stable Codename=stable
        "Architectures=amd64 arm64" Components=main
        "Description=Velmora, the calculator for data transfers"
        "Date=$(date -u -R -d "@$SOURCE_DATE_EPOCH")"
    )
    local options=()
    for field in "${fields[@]}"; do options+=(-o "APT::FTPArchive::Release::$field"); done
    (cd "$repo/dists/stable" && apt-ftparchive "${options[@]}" release .) >"$repo/Release.tmp"
    mv "$repo/Release.tmp" "$repo/dists/stable/Release"
}

# openpgp_sign_repository FOLDER LOG: InRelease and Release.gpg, as apt reads them.
openpgp_sign_repository() {
    local suite=$1/dists/stable
    "${openpgp[@]}" --clearsign --output "$suite/InRelease" "$suite/Release" >>"$2" 2>&1 &&
        "${openpgp[@]}" --armor --detach-sign --output "$suite/Release.gpg" "$suite/Release" >>"$2" 2>&1
}
