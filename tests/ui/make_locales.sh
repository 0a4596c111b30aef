#!/bin/sh
# Builds the locales the window tests run in, from the locales' sources, into
# a folder of their own (LOCPATH): the machine need not have generated them.
set -e
dir=$1
shift
mkdir -p "$dir"
for name in "$@"; do
    [ -d "$dir/$name.UTF-8" ] || localedef -i "$name" -f UTF-8 "$dir/$name.UTF-8"
done
