# A Debian root of another release, made by mmdebstrap from the machine's own
# package archive, and commands run in it as on a fresh machine of that
# release. Sourced, not run; needs root.

# The machine's Debian sources, each as "URI SUITE COMPONENT", with its own
# release's name replaced by SUITE: the archive stays the one the machine
# already reaches.
debian_sources_for() {
    local suite=$1 codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
        awk -v from="$codename" -v to="$suite" \
            'index($2, from) == 1 { print $1, to substr($2, length(from) + 1), $3 }' | sort -u
}

# make_debian_root DIR SUITE [ARCH]: DIR/root, unless a whole one is there
# already; of another architecture than the machine's, its programs run
# under an emulator (enable_emulation).
make_debian_root() {
    local dir=$1 suite=$2 arch=${3:-$(dpkg --print-architecture)}
    [ -e "$dir/root/.velmora-complete" ] && return 0
    local mirrors=() uri release component
    while read -r uri release component; do
        mirrors+=("deb $uri $release $component")
    done < <(debian_sources_for "$suite")
    if [ ${#mirrors[@]} -eq 0 ]; then
        echo "No Debian archive in this machine's apt sources to make a $suite root from." >&2
        return 1
    fi
    rm -rf "$dir/root" "$dir/root.part"
    mkdir -p "$dir"
    # What a fresh machine has: apt, and the certificate store npm needs.
    mmdebstrap --quiet --variant=apt --architectures="$arch" --include=ca-certificates \
        "$suite" "$dir/root.part" "${mirrors[@]}"
    touch "$dir/root.part/.velmora-complete"
    mv "$dir/root.part" "$dir/root"
}

# in_debian_root ROOT COMMAND...: COMMAND as root in ROOT, with the kernel's
# file systems, and the machine's resolver and certificate store read-only.
# Everything runs in namespaces of its own: when the command ends or this is
# stopped, its processes are ended and its mounts are gone, whatever happened.
# unshare holds back SIGTERM and SIGINT while it waits, so a stop kills it,
# and with it (--kill-child) the namespace's first process and all the rest.
in_debian_root() {
    local root=$1
    shift
    local npm_cafile
    npm_cafile=$(npm config get cafile 2>/dev/null || true)
    [ "$npm_cafile" != null ] || npm_cafile=
    unshare --mount --pid --fork --kill-child --propagation private \
        bash -euc '
            root=$1 npm_cafile=$2
            shift 2
            mount -t proc proc "$root/proc"
            mount --rbind /sys "$root/sys"
            mount --rbind /dev "$root/dev"
            mount -t tmpfs -o mode=1777 tmpfs "$root/dev/shm"
            mount -t tmpfs -o mode=1777 tmpfs "$root/tmp"
            for shared in /etc/resolv.conf /etc/ssl/certs; do
                [ -e "$root$shared" ] || touch "$root$shared"
                mount --bind "$(readlink -f "$shared")" "$root$shared"
                mount -o remount,bind,ro "$root$shared"
            done
            exec chroot "$root" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
                PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
                LANG=C.UTF-8 ${CI:+CI=$CI} ${npm_cafile:+npm_config_cafile=$npm_cafile} "$@"
        ' in_debian_root "$root" "$npm_cafile" "$@" &
    local child=$! status=0
    trap "kill -KILL $child 2>/dev/null; exit 143" TERM INT HUP
    wait "$child" || status=$?
    trap - TERM INT HUP
    return "$status"
}

# copy_sources_into ROOT DEST: this tree's sources at DEST inside ROOT, as a
# fresh clone would have them; the builds already there are kept, to reuse.
copy_sources_into() {
    local root=$1 dest=$2
    mkdir -p "$root$dest"
    find "$root$dest" -mindepth 1 -maxdepth 1 ! -name 'build*' -exec rm -rf {} +
    tar -C "$VELMORA_ROOT" --exclude='./build*' --exclude=./dist --exclude=.git \
        --exclude=node_modules -c . | tar -x -C "$root$dest"
}

# enable_emulation CPU: the kernel runs CPU's programs (aarch64) under qemu's
# user-mode emulator, as an arm64 root needs. Mounts binfmt_misc and
# registers qemu-user-static's entry where either is missing; both take root.
# Says why and fails where that cannot be done.
enable_emulation() {
    local cpu=$1 binfmt=/proc/sys/fs/binfmt_misc
    local entry=/usr/lib/binfmt.d/qemu-$cpu.conf sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo -n)
    if [ ! -e "$binfmt/register" ] &&
       ! "${sudo[@]}" mount -t binfmt_misc binfmt_misc "$binfmt"; then
        echo "Cannot run $cpu programs: the kernel's binfmt_misc is not mounted at $binfmt," >&2
        echo "and mounting it failed (it takes root, and a container may forbid it)." >&2
        return 1
    fi
    # An entry without F (opened when registered) fails inside a root,
    # where its emulator's path is missing: qemu-user-static's replaces it.
    if [ -e "$binfmt/qemu-$cpu" ] && ! grep -q '^flags: .*F' "$binfmt/qemu-$cpu"; then
        "${sudo[@]}" sh -c "echo -1 >'$binfmt/qemu-$cpu'" || true
    fi
    if [ ! -e "$binfmt/qemu-$cpu" ]; then
        if [ ! -e "$entry" ]; then
            echo "Cannot run $cpu programs: $entry is missing; install qemu-user-static." >&2
            return 1
        fi
        # F: the emulator is opened now, so it serves inside any root too.
        if ! "${sudo[@]}" sh -c "cat '$entry' >'$binfmt/register'"; then
            echo "Cannot run $cpu programs: registering qemu-$cpu with binfmt_misc failed" >&2
            echo "(it takes root, and a container may forbid it)." >&2
            return 1
        fi
    fi
    if ! grep -qx enabled "$binfmt/status" || ! grep -qx enabled "$binfmt/qemu-$cpu"; then
        echo "Cannot run $cpu programs: binfmt_misc or its qemu-$cpu entry is disabled;" >&2
        echo "as root: echo 1 >$binfmt/status; echo 1 >$binfmt/qemu-$cpu" >&2
        return 1
    fi
}
