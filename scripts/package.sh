#!/usr/bin/env bash
# Builds the Debian package (tavromark_VERSION_ARCH.deb) in build-package/ (or
# $TAVRO_PACKAGE_DIR): a build for the /usr prefix with Debian's hardening
# flags and without tests, "cpack -G DEB" over its install rules, then lintian,
# which fails the script on any error. Prints the package's path last.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${TAVRO_PACKAGE_DIR:-$top/build-package}
"$top/scripts/install-deps.sh"

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# CMake reads no CPPFLAGS: the preprocessor flags (fortify) go with the
# compiler's.
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CXXFLAGS LDFLAGS
if [[ ! -f $out/build.ninja ]]; then
  cmake -S "$top" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DTAVRO_BUILD_TESTS=OFF -DTAVRO_BUILD_BENCH=OFF
fi
cmake --build "$out"
rm -f "$out"/tavromark_*.deb
(cd "$out" && cpack -G DEB)
deb=$(echo "$out"/tavromark_*.deb)
lintian --fail-on error --info "$deb"
echo "$deb"
