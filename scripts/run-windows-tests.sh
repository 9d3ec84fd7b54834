#!/bin/sh
# Proves the Windows plug-ins: checks both libraries as files, then runs our own
# lister host against Gridlook.wlx64 under Wine in a virtual X screen, with a
# throw-away Wine prefix, and compares what it showed with the Linux raster's
# pictures pixel for pixel. (This kernel runs no 32-bit Windows programs, so
# Gridlook.wlx is checked as a file only.)
#   run-windows-tests.sh             the checks
#   run-windows-tests.sh --timing    from ListLoad to the first finished paint for
#                                    the examples, a typical and the largest puzzle,
#                                    and the raster's time for the same files
set -eu
cd "$(dirname "$0")/.."
scripts/build-windows.sh

echo "== the libraries as files"
tests/windows/check-library.sh build/win64/src/platform/win32/Gridlook.wlx64 64
tests/windows/check-library.sh build/win32/src/platform/win32/Gridlook.wlx 32

work=$(mktemp -d)
mkdir -p "$work/out"
cp build/win64/src/platform/win32/Gridlook.wlx64 "$work/"
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The Wine server saves the prefix when it ends, so it must end before the prefix goes.
trap 'wineserver -w 2>/dev/null; rm -rf "$work"' EXIT
host() {
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        wine build/win64/tests/windows/TestHost.exe "Z:$work/Gridlook.wlx64" "Z:$(pwd)/examples" "Z:$work/out" "$@"
}

if [ "${1:-}" = "--timing" ]; then
    echo "== GDI under Wine"
    host --timing
    echo "== the same files on the Linux raster"
    scripts/run-benchmarks.sh --benchmark_filter=LoadToPicture
    exit 0
fi
echo "== the lister host under Wine"
host
echo "== what it showed, against the raster"
scripts/install-deps.sh build
cmake -S . -B build/gcc -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDLOOK_WERROR=ON >/dev/null
cmake --build build/gcc --target gridlook_capture_check >/dev/null
build/gcc/tests/gridlook-capture-check "$work/out"
