#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset: clang, address + undefined sanitizers, in
# build-fuzz) and runs them.
#   scripts/fuzz.sh [seconds-per-target]  fuzz each target (300 s by default), growing a working
#                                         corpus in build-fuzz/fuzz-corpus
#   scripts/fuzz.sh --replay              each target once over the committed seeds (the fuzz
#                                         preset's tests)
#   scripts/fuzz.sh --ci                  the replay, then 30 s of fuzzing per target
# Exits non-zero when a target fails; the input that broke it is kept in
# build-fuzz/fuzz-artifacts/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz

mode=fuzz
case "${1:-}" in
    --replay | --ci) mode=${1#--}; shift ;;
esac
seconds=300
if [ "$mode" = fuzz ] && [ $# -gt 0 ]; then
    seconds=$1; shift
fi
[ "$mode" = ci ] && seconds=30
case "$seconds" in
    '' | *[!0-9]*) echo "fuzz.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

final_stat() {  # the value of one of libFuzzer's final statistics in a log
    sed -n "s/^stat::$1: *//p" "$2" | tail -n 1
}

# Fuzzes one target for the given time and prints one line about it. New inputs go to the
# first folder, the working copy; the committed seeds are only read.
fuzz_target() {  # <target>
    local target=$1 status=ok
    local log="$build/fuzz-logs/$target.log" artifacts="$build/fuzz-artifacts/$target/"
    local work="$build/fuzz-corpus/$target"
    mkdir -p "$build/fuzz-logs" "$artifacts" "$work"
    # The paths are absolute, so the targets run from any folder.
    ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
        UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
        "$build/fuzz/$target" -print_final_stats=1 -timeout=25 -artifact_prefix="$artifacts" \
        -max_total_time="$seconds" "$work" "$root/fuzz/corpus/$target" >"$log" 2>&1 ||
        status=FAILED
    printf '%-15s %12s runs %8s exec/s  %s\n' "$target" \
        "$(final_stat number_of_executed_units "$log")" "$(final_stat average_exec_per_sec "$log")" \
        "$status"
    if [ "$status" != ok ]; then
        grep -E '^(fuzz_[a-z_]+: |==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)' \
            "$log" | head -n 20 | sed 's/^/    /' || true
        echo "    full log: $log"
        failed=1
    fi
}

cd "$root"
cmake --preset fuzz
cmake --build --preset fuzz
failed=0
if [ "$mode" != fuzz ]; then
    ctest --preset fuzz -j "$(nproc)" || failed=1
fi
if [ "$mode" != replay ]; then
    # The one list of targets, written by fuzz/CMakeLists.txt.
    while read -r target; do
        fuzz_target "$target"
    done <"$build/fuzz/targets.txt"
fi
exit "$failed"
