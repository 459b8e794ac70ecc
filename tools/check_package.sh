#!/bin/sh
# Runs Debian's checkers on a built package: lintian on the .deb (an error or
# a warning fails; its informational tags are shown), desktop-file-validate
# on the desktop entry, appstreamcli on the AppStream metadata (offline), and
# man on every man page, whose warnings fail too.
# Usage: check_package.sh PACKAGE.deb
set -eu
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT INT TERM
failed=""

echo "-- lintian $(basename "$deb")"
lintian --display-info --fail-on error,warning "$deb" >"$root.lintian" 2>&1 || failed="$failed lintian"
grep -v '^running with root privileges' "$root.lintian" || true
rm -f "$root.lintian"

dpkg-deb -x "$deb" "$root"
for entry in "$root"/usr/share/applications/*.desktop; do
    echo "-- desktop-file-validate ${entry#"$root"}"
    desktop-file-validate "$entry" || failed="$failed desktop-file-validate"
done
for metainfo in "$root"/usr/share/metainfo/*.xml; do
    echo "-- appstreamcli validate ${metainfo#"$root"}"
    appstreamcli validate --no-net "$metainfo" || failed="$failed appstreamcli"
done
for page in "$root"/usr/share/man/man*/*; do
    echo "-- man --warnings ${page#"$root"}"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [ -n "$warnings" ]; then
        echo "$warnings"
        failed="$failed man"
    fi
done

if [ -n "$failed" ]; then
    echo "The package fails:$failed" >&2
    exit 1
fi
echo "The package passes lintian, desktop-file-validate, appstreamcli and man."
