#!/bin/sh
# Builds the libFuzzer targets (clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build/fuzz and runs each on its seed corpus
# under fuzz/corpus for SECONDS (default 15), two at a time.
#
#   scripts/run-fuzzers.sh [SECONDS [DIR]]
#
# With DIR, each target's grown corpus, log and findings stay in DIR/TARGET,
# and a later run with the same DIR goes on from that corpus: a long campaign
# is scripts/run-fuzzers.sh 3600 build/fuzz-campaign. Without DIR they go to a
# temporary folder, which is removed unless a target found something.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-15}
targets="native tgr tgw tgp pp xml non g mk nin registry paint solve convert"
parallel=2
scripts/install-deps.sh build sanitize

echo "== clang with libFuzzer and sanitizers: build the fuzz targets"
CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGRIDLOOK_WERROR=ON \
    -DGRIDLOOK_TESTS=OFF -DGRIDLOOK_FUZZ=ON >/dev/null
# shellcheck disable=SC2046
cmake --build build/fuzz --target $(for target in $targets; do echo "fuzz_$target"; done)

temporary=""
if [ $# -ge 2 ]; then
    work=$2
    mkdir -p "$work"
else
    work=$(mktemp -d /tmp/gridlook-fuzz-run-XXXXXX)
    temporary=yes
fi

# A crash, leak, hang (10 s) or memory blow-up (2 GiB) ends the target with a
# failure and leaves the input that caused it in DIR/TARGET.
# Puzzle inputs may grow to the largest native file (255 x 255 cells with
# 255 clues on every line, 325,184 bytes), so that every size a reader accepts
# can be reached; libFuzzer's own limit would stop at 4 KiB.
run_target() {
    target=$1
    mkdir -p "$work/$target/corpus"
    dict=""
    [ -f "fuzz/$target.dict" ] && dict="-dict=fuzz/$target.dict"
    max_len=""
    [ "$target" != registry ] && max_len="-max_len=330000"
    # shellcheck disable=SC2086
    UBSAN_OPTIONS=print_stacktrace=1 build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 $dict $max_len -artifact_prefix="$work/$target/" \
        "$work/$target/corpus" "fuzz/corpus/$target" >"$work/$target/log" 2>&1
}

summarise() {
    target=$1
    log="$work/$target/log"
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    coverage=$(grep -o 'cov: [0-9]* ft: [0-9]* corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -n 1)
    findings=$(find "$work/$target" -maxdepth 1 -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    printf '%-9s %11s execs %6s/s  %-38s findings %s\n' "$target" "${execs:-?}" "${rate:-?}" "${coverage:-?}" \
        "$findings"
}

echo "== fuzz each target for $seconds s"
failed=""
# shellcheck disable=SC2086
set -- $targets
while [ $# -gt 0 ]; do
    batch=""
    while [ $# -gt 0 ] && [ "$(echo "$batch" | wc -w)" -lt "$parallel" ]; do
        run_target "$1" &
        batch="$batch $1:$!"
        shift
    done
    for job in $batch; do
        wait "${job#*:}" || failed="$failed ${job%%:*}"
    done
done

for target in $targets; do
    summarise "$target"
done
if [ -n "$failed" ]; then
    for target in $failed; do
        echo "== fuzz_$target failed; the end of $work/$target/log:"
        tail -n 40 "$work/$target/log"
    done
    exit 1
fi
if [ -n "$temporary" ]; then
    rm -rf "$work"
fi
echo "No findings."
