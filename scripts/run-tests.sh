#!/bin/sh
# The whole test suite: warnings as errors with g++, the plug-ins in the
# real Double Commander (its Qt5 and its GTK2 build), the KIO thumbnail
# plug-in through KIO's preview job and in the real Dolphin, then everything
# again under AddressSanitizer and UndefinedBehaviorSanitizer (with leak
# checks) with clang, then a short run of every libFuzzer target on its seed
# corpus, then the Windows plug-ins, cross-built and tried under Wine.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh build sanitize qt toolkits kde dolphin
jobs=$(nproc)

echo "== g++: build and unit tests"
cmake -S . -B build/gcc -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDLOOK_WERROR=ON >/dev/null
cmake --build build/gcc
ctest --test-dir build/gcc --output-on-failure -j "$jobs"
# Each build of the file manager: its own plug-in shows puzzles, the one file
# for every toolkit picks it, and the plug-ins of the other toolkits decline.
tests/doublecmd/run-doublecmd.sh build/gcc qt gridlook-qt5.wlx gridlook-gtk2.wlx gridlook-qt6.wlx
tests/doublecmd/run-doublecmd.sh build/gcc gtk gridlook-gtk2.wlx gridlook-qt5.wlx gridlook-qt6.wlx
tests/kde/run-kde-tests.sh build/gcc

echo "== clang with sanitizers: build and unit tests"
CXX=clang++ cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DGRIDLOOK_WERROR=ON \
    -DGRIDLOOK_SANITIZE=ON >/dev/null
cmake --build build/sanitize
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

scripts/run-fuzzers.sh 15
tests/desktop/run-desktop-tests.sh

echo "== the Windows plug-ins"
scripts/run-windows-tests.sh
echo "All tests passed."
