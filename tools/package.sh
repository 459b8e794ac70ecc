#!/bin/sh
# Builds the Debian package BUILD_DIR/ironstep_VERSION_ARCH.deb with CPack from
# what the install rules lay out (the tests are not built for it), and prints
# its path. Usage: package.sh BUILD_DIR
set -eu
build=$1
cmake --build "$build" --target installables -j "$(nproc 2>/dev/null || echo 2)" >"$build/package.log" 2>&1 ||
    { cat "$build/package.log" >&2; exit 1; }
rm -f "$build"/ironstep_*.deb
if ! (cd "$build" && cpack -G DEB --config CPackConfig.cmake) >>"$build/package.log" 2>&1; then
    cat "$build/package.log" >&2
    exit 1
fi
ls "$build"/ironstep_*.deb
