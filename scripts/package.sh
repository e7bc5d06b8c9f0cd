#!/usr/bin/env bash
# Builds korvane and makes its Debian package with CPack; prints the
# package's path. Dependencies come from the program's shared libraries
# (dpkg-shlibdeps of dpkg-dev, installed when missing).
# Given a folder, the package is written there instead of build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh dpkg-dev file >&2
scripts/build.sh korvane korvane_docs >&2
out="$(realpath -m "${1:-build}")"
mkdir -p "$out"
(cd build && cpack -G DEB -B "$out" >&2)
rm -rf "$out/_CPack_Packages"
ls "$out"/korvane_*.deb
