# shellcheck shell=bash
# A Debian root of another release, made by mmdebstrap from the machine's own
# package archive, and commands run in it as on a fresh machine of that
# release. Sourced, not run; needs root.

# The machine's Debian sources, each as "URI SUITE COMPONENT", with its own
# release's name replaced by SUITE: the archive stays the one the machine
# already reaches.
debian_sources_for() {
    local suite=$1 codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    # shellcheck disable=SC2016 # apt's own placeholders
    apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' 'Identifier: Packages' |
        awk -v from="$codename" -v to="$suite" \
            'index($2, from) == 1 { print $1, to substr($2, length(from) + 1), $3 }' | sort -u
}

# make_debian_root DIR SUITE [ARCH [PACKAGES]]: DIR/root, unless a whole one
# is there already, with PACKAGES (comma-separated; ca-certificates unless
# given); of another architecture than the machine's, its programs run
# under an emulator (enable_emulation).
make_debian_root() {
    local dir=$1 suite=$2 arch=${3:-$(dpkg --print-architecture)} packages=${4:-ca-certificates}
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
    mmdebstrap --quiet --variant=apt --architectures="$arch" --include="$packages" \
        "$suite" "$dir/root.part" "${mirrors[@]}" || return 1
    touch "$dir/root.part/.velmora-complete" && mv "$dir/root.part" "$dir/root"
}

# Made roots are kept outside the clone (VELMORA_CACHE, scripts/common.sh):
# one folder a key, the key naming the release, the architecture and a hash
# of the packages and of the functions that make them.
VELMORA_ROOT_CACHE=${VELMORA_ROOT_CACHE:-$VELMORA_CACHE/roots}
# A root older than this is made again, with the archive's updates.
VELMORA_ROOT_MAX_DAYS=${VELMORA_ROOT_MAX_DAYS:-7}

# cached_debian_root VAR SUITE ARCH [PACKAGE...]: sets VAR to the folder of
# a Debian SUITE root for ARCH with PACKAGEs installed, made once and then
# taken from the cache. Nothing may write to it: run in it with
# in_debian_root --upper DIR, which keeps every change in DIR.
cached_debian_root() {
    local var=$1 suite=$2 arch=$3
    shift 3
    local hash key entry
    hash=$({ printf '%s\n' "$suite" "$arch" "$@" | sort -u
             declare -f debian_sources_for make_debian_root; } | sha256sum | cut -c1-16)
    key=$suite-$arch-$hash
    entry=$VELMORA_ROOT_CACHE/$key
    mkdir -p "$VELMORA_ROOT_CACHE"
    # One maker a key; a second run waits, then finds the root made. (No
    # errexit in here: every step is checked.)
    (
        flock 9 || exit 1
        if [ -e "$entry.made" ] &&
           [ -z "$(find "$entry.made" -mtime "+$VELMORA_ROOT_MAX_DAYS")" ]; then
            touch "$entry.used"
            exit 0
        fi
        rm -rf "$entry" "$entry.made" "$entry.part" || exit 1
        echo "Making the Debian $suite $arch root $key in $VELMORA_ROOT_CACHE" >&2
        packages=$(IFS=,; echo "ca-certificates${*:+,$*}")
        # A second try: a download, or a maintainer script under an
        # emulator, fails now and then.
        {
            make_debian_root "$entry.part" "$suite" "$arch" "$packages" || {
                echo "Making the root failed; once more."
                make_debian_root "$entry.part" "$suite" "$arch" "$packages"
            }
        } >&2 &&
            mv "$entry.part/root" "$entry" && rm -rf "$entry.part" &&
            touch "$entry.made" "$entry.used" || exit 1
        # Other keys of this release and architecture go, unless a run used
        # them within the hour.
        for old in "$VELMORA_ROOT_CACHE/$suite-$arch-"*.used; do
            [ "$old" != "$entry.used" ] && [ -n "$(find "$old" -mmin +60)" ] || continue
            echo "Pruning the cached root ${old%.used}" >&2
            rm -rf "${old%.used}" "${old%.used}.made" "${old%.used}.lock" "$old"
        done
    ) 9>"$entry.lock" || { echo "Making the Debian $suite $arch root failed." >&2; return 1; }
    printf -v "$var" '%s' "$entry"
}

# in_debian_root [--upper DIR] [--bind FROM TO]... ROOT COMMAND...: COMMAND
# as root in ROOT, with the kernel's file systems, and the machine's resolver
# and certificate store read-only. With --upper, ROOT is only read: an
# overlay keeps every change in DIR/data, where files may also be put
# beforehand. Each --bind shows this machine's folder FROM at TO in the root,
# for caches that outlive the run.
# Everything runs in namespaces of its own: when the command ends or this is
# stopped, its processes are ended and its mounts are gone, whatever happened.
# unshare holds back SIGTERM and SIGINT while it waits, so a stop kills it,
# and with it (--kill-child) the namespace's first process and all the rest.
in_debian_root() {
    local upper='' binds=''
    while :; do
        case $1 in
            --upper)
                upper=$(mkdir -p "$2/data" "$2/work" "$2/merged" && cd "$2" && pwd)
                shift 2 ;;
            --bind)
                mkdir -p "$2"
                binds+=$(cd "$2" && pwd)$'\n'$3$'\n'
                shift 3 ;;
            *) break ;;
        esac
    done
    local root=$1
    shift
    local npm_cafile
    npm_cafile=$(npm config get cafile 2>/dev/null || true)
    [ "$npm_cafile" != null ] || npm_cafile=
    # shellcheck disable=SC2016 # expanded by the inner shell
    unshare --mount --pid --fork --kill-child --propagation private \
        bash -euc '
            root=$1 upper=$2 npm_cafile=$3 binds=$4
            shift 4
            if [ -n "$upper" ]; then
                mount -t overlay overlay \
                    -o "lowerdir=$root,upperdir=$upper/data,workdir=$upper/work" "$upper/merged"
                root=$upper/merged
            fi
            while IFS= read -r from && IFS= read -r to; do
                mkdir -p "$root$to"
                mount --bind "$from" "$root$to"
            done <<<"$binds"
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
        ' in_debian_root "$root" "$upper" "$npm_cafile" "$binds" "$@" &
    local child=$! status=0
    # shellcheck disable=SC2064 # the child is known now
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
