#!/usr/bin/env bash
# shellcheck disable=SC2034 # the checks are eval'd strings, which read them
# In a Debian root: the apt repository served at URL, added as the README
# says, taken only with its key; velmora installed from it and upgraded to
# LATER; every changed copy refused.
#   apt_inside.sh URL VERSION LATER
set -uo pipefail
url=$1 version=$2 later=$3
fail=0
check() { if eval "$2"; then echo "ok: $1"; else echo "FAILED: $1"; fail=1; fi; }
export DEBIAN_FRONTEND=noninteractive
# use FOLDER [KEY]: the .sources entry of the README, for that folder of the
# site, signed by KEY (none: no Signed-By).
use() {
    {
        echo "Types: deb"
        echo "URIs: $url/$1"
        echo "Suites: stable"
        echo "Components: main"
        [ -z "${2:-}" ] || echo "Signed-By: /etc/apt/keyrings/$2.asc"
    } >/etc/apt/sources.list.d/velmora.sources
}
# Only the repository is read again; Debian's lists stay as they are.
update() {
    apt-get update -o Dir::Etc::SourceList=/etc/apt/sources.list.d/velmora.sources \
        -o Dir::Etc::SourceParts=- -o APT::Get::List-Cleanup=0 >/tmp/update.log 2>&1
}
refused() { ! update && grep -q '^E: ' /tmp/update.log; }
installed() { dpkg-query -W -f='${Status} ${Version}' velmora 2>/dev/null; }

use good
check "without Signed-By, apt refuses the repository" refused
use good stranger
check "with another key as Signed-By, apt refuses it" refused
use good velmora
check "with the project's key, apt takes it, with no warning" \
    'update && ! grep -q "^[WE]: " /tmp/update.log'
check "and offers velmora $version from it" \
    'grep -q "Candidate: $version$" <<<"$(apt-cache policy velmora)"'
use changed-packages velmora
check "a changed Packages file is refused" refused
use other-key velmora
check "an InRelease signed by another key is refused" refused
use changed-deb velmora
update
check "a changed package is refused, and nothing is installed" \
    '! apt-get install -y -qq velmora >/tmp/install.log 2>&1 && [ -z "$(installed)" ]'
use good velmora
update
check "apt install velmora installs $version" \
    'apt-get install -y -qq velmora >/tmp/install.log 2>&1 && [ "$(installed)" = "install ok installed $version" ] &&
     [ -x /usr/bin/velmora ]'
use later velmora
check "the next release reaches it through apt upgrade" \
    'update && apt-get upgrade -y -qq >/tmp/install.log 2>&1 && [ "$(installed)" = "install ok installed $later" ]'
[ $fail -eq 0 ] || { echo "the last apt output:"; cat /tmp/update.log /tmp/install.log; }
exit $fail
