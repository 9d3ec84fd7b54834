#!/bin/sh
# Cross-builds the Windows plug-ins, Gridlook.wlx64 and Gridlook.wlx, and packs
# them with their installer description into build/Gridlook.zip.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh windows
for bits in 64 32; do
    if [ "$bits" = 64 ]; then toolchain=mingw-w64-x86_64; else toolchain=mingw-w64-i686; fi
    cmake -S . -B "build/win$bits" -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRIDLOOK_WERROR=ON \
        -DCMAKE_TOOLCHAIN_FILE="cmake/$toolchain.cmake" >/dev/null
    cmake --build "build/win$bits"
done

staging=build/package
rm -rf "$staging" build/Gridlook.zip
mkdir -p "$staging"
cp build/win64/src/platform/win32/Gridlook.wlx64 build/win32/src/platform/win32/Gridlook.wlx \
    packaging/windows/pluginst.inf packaging/windows/readme.txt "$staging"
(cd "$staging" && cmake -E tar cf ../Gridlook.zip --format=zip Gridlook.wlx64 Gridlook.wlx pluginst.inf readme.txt)
echo "The plug-ins are packed in $(pwd)/build/Gridlook.zip"
