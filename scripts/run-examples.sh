#!/bin/sh
# The main job: builds gridlook, then shows and renders every bundled example puzzle.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRIDLOOK_TESTS=OFF >/dev/null
cmake --build build/release --target gridlook
puzzles=$(ls examples/* | grep -v '\.py$')
# shellcheck disable=SC2086
build/release/gridlook info $puzzles
# shellcheck disable=SC2086
build/release/gridlook render $puzzles -d build/examples
echo "The pictures are in $(pwd)/build/examples/"
