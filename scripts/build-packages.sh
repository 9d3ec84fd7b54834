#!/bin/sh
# Builds the Debian packages gridlook, gridlook-doublecmd, a package for
# each toolkit's plug-in and gridlook-kde with CPack, in Release with all of
# Debian's hardening flags, into build/deb/.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh build qt toolkits kde package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)" \
    cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DGRIDLOOK_TESTS=OFF -DGRIDLOOK_BENCHMARKS=OFF >/dev/null
cmake --build build/deb
rm -f build/deb/*.deb
(cd build/deb && cpack -G DEB >/dev/null)
ls build/deb/*.deb
