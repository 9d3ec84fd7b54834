#!/bin/sh
# The main job: builds gridlook and shows every bundled example puzzle.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRIDLOOK_TESTS=OFF >/dev/null
cmake --build build/release --target gridlook
for puzzle in examples/*; do
    case "$puzzle" in *.py) continue ;; esac
    build/release/gridlook info "$puzzle"
done
