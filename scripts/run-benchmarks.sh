#!/bin/sh
# Builds the benchmarks in Release and runs them: the times, then each goal of
# the performance issue with its figures and whether this run met it.
# Arguments go to the benchmark program: --benchmark_filter=REGEX to run some,
# --puzzles=DIR to keep the measured puzzle files in DIR, --survey=DIR for the
# survey puzzles that may not be redistributed (docs/performance.md).
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh build
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DGRIDLOOK_TESTS=OFF >/dev/null
cmake --build build/bench --target gridlook_bench
echo "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
    "$(c++ --version | head -n 1)"
build/bench/bench/gridlook_bench "$@"
