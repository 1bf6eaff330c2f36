#!/usr/bin/env bash
# Builds the Debian package: build/tavrin_<version>_<arch>.deb.
EXTRA_PACKAGES=(dpkg-dev)   # dpkg-shlibdeps computes the package's dependencies
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
(cd "$BUILD" && cpack -G DEB)
ls "$BUILD"/tavrin_*.deb
