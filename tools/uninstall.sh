#!/bin/sh
# Removes what "make install" put under DESTDIR and PREFIX: the install rules
# are run into a scratch folder to learn the files, and each is removed. Then
# the folders they made are removed where empty, except, when DESTDIR is
# empty, the folders that Debian makes under /usr/local for every system
# (the prefix itself, games, lib, share and share/man).
# Usage: [DESTDIR=...] uninstall.sh BUILD_DIR PREFIX
set -eu
build=$1
prefix=$2
destdir=${DESTDIR:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT INT TERM

DESTDIR=$scratch cmake --install "$build" --prefix "$prefix" >"$scratch.log" 2>&1 ||
    { cat "$scratch.log" >&2; rm -f "$scratch.log"; exit 1; }
rm -f "$scratch.log"
(cd "$scratch" && find . ! -type d) | while IFS= read -r file; do
    target=$destdir${file#.}
    if [ -e "$target" ] || [ -L "$target" ]; then
        rm -f "$target"
        echo "-- Removed: $target"
    fi
done
# Deepest folders first; rmdir leaves a folder that is not empty.
(cd "$scratch" && find . -mindepth 1 -type d | sort -r) | while IFS= read -r folder; do
    path=${folder#.}
    if [ -z "$destdir" ]; then
        case ${path#"$prefix"} in
            "$path" | "" | /games | /lib | /share | /share/man) continue ;;
        esac
    fi
    rmdir "$destdir$path" 2>/dev/null || true
done
