#!/bin/sh
# Builds the Debian package from a configured and built tree into a scratch folder and asks
# lintian about it: any error or warning fails, and lintian says which.
#
#   packaging/check-debian-package.sh BUILD_DIR
set -eu
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$scratch" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; exit 1; }
lintian --pedantic --fail-on error,warning --tag-display-limit 0 "$scratch"/*.deb
