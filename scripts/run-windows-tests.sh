#!/bin/sh
# Proves the Windows plug-ins: checks both libraries as files, then runs our own
# lister host against each under Wine in a virtual X screen, with a throw-away
# win64 prefix, and compares what it showed with the Linux raster's pictures
# pixel for pixel. The 32-bit host and Gridlook.wlx run where the kernel runs
# 32-bit programs (32-bit Wine is installed for them then); elsewhere one line
# says that the 32-bit plug-in was checked as a file only.
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
export WINEPREFIX="$work/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The Wine server saves the prefix when it ends, so it must end before the prefix goes.
trap 'wineserver -w 2>/dev/null; rm -rf "$work"' EXIT

# Whether this kernel runs 32-bit x86 programs: a static one of 93 bytes that
# only exits, written out here, since nothing on a 64-bit machine need have one.
runs_32bit_programs() {
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000\000\020\000\000\061\333\270\001\000\000\000\315\200' >"$work/probe32"
    chmod +x "$work/probe32"
    "$work/probe32" 2>/dev/null
}
widths=64
if runs_32bit_programs; then
    scripts/install-deps.sh windows32
    widths="64 32"
else
    echo "== this kernel runs no 32-bit programs: the 32-bit plug-in Gridlook.wlx was checked as a file only"
fi

# host BITS [ARGUMENTS...]: the lister host of that width against its plug-in.
host() {
    bits=$1
    shift
    if [ "$bits" = 64 ]; then library=Gridlook.wlx64; else library=Gridlook.wlx; fi
    mkdir -p "$work/out$bits"
    cp "build/win$bits/src/platform/win32/$library" "$work/"
    xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        wine "build/win$bits/tests/windows/TestHost.exe" "Z:$work/$library" "Z:$(pwd)/examples" "Z:$(pwd)/tests/webpbn" \
        "Z:$work/out$bits" "$@"
}

if [ "${1:-}" = "--timing" ]; then
    for bits in $widths; do
        echo "== GDI under Wine, $bits-bit"
        host "$bits" --timing
    done
    echo "== the same files on the Linux raster"
    scripts/run-benchmarks.sh --benchmark_filter=LoadToPicture
    exit 0
fi
scripts/install-deps.sh build
cmake -S . -B build/gcc -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDLOOK_WERROR=ON >/dev/null
cmake --build build/gcc --target gridlook_capture_check >/dev/null
for bits in $widths; do
    echo "== the $bits-bit lister host under Wine"
    host "$bits"
    echo "== what the $bits-bit plug-in showed, against the raster"
    build/gcc/tests/gridlook-capture-check "$work/out$bits"
done
