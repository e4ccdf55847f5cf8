#!/usr/bin/env bash
# Runs the tests under the sanitizers, each through its workflow preset (configure, build, test):
#   scripts/sanitize.sh asan   build-asan: every target with AddressSanitizer and
#                              UndefinedBehaviorSanitizer, then every test but the soak
#   scripts/sanitize.sh tsan   build-tsan: the tests that run more than one thread (the link,
#                              measurement, window, archive, archive window and end-to-end tests) under
#                              ThreadSanitizer
#   scripts/sanitize.sh [all]  both, one after the other
# CTest runs as many tests at once as the machine has cores (CTEST_PARALLEL_LEVEL overrides
# that). Prints one line per mode at the end and exits non-zero when any build or test fails.
set -uo pipefail
cd "$(dirname "$0")/.."
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}

summaries=()
failed=0

run() {  # <preset>
    local start=$SECONDS status=ok
    cmake --workflow --preset "$1" || { status=FAILED; failed=1; }
    local took=$((SECONDS - start))
    summaries+=("$(printf '%s: %s, %dm%02ds' "$1" "$status" $((took / 60)) $((took % 60)))")
}

case "${1:-all}" in
    asan | tsan) run "$1" ;;
    all) run asan; run tsan ;;
    *) echo "usage: $0 [asan|tsan|all]" >&2; exit 2 ;;
esac
printf '%s\n' "${summaries[@]}"
exit "$failed"
