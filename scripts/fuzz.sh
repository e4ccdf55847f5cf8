#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address + undefined sanitizers) and runs them.
#   scripts/fuzz.sh [seconds-per-target] [build-dir]  fuzz each target (300 s by default), growing
#                                                     a working corpus in <build-dir>/fuzz-corpus
#   scripts/fuzz.sh --replay [build-dir]              run each target once over the committed seeds
#   scripts/fuzz.sh --ci [build-dir]                  the replay, then 30 s of fuzzing per target
# The build directory defaults to build-fuzz. Exits non-zero when a target fails; the input that
# broke it is kept in <build-dir>/fuzz-artifacts/<target>/.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
targets=(fuzz_frames fuzz_test_file fuzz_journal fuzz_ini)

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
build=$(realpath -m "${1:-$root/build-fuzz}")

build_targets() {
  if [ ! -f "$build/CMakeCache.txt" ]; then
    local generator=Ninja
    command -v ninja >/dev/null 2>&1 || generator="Unix Makefiles"
    CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G "$generator" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVE17_FUZZ=ON -DVE17_SANITIZE=address,undefined
  elif ! grep -q '^VE17_FUZZ:BOOL=ON' "$build/CMakeCache.txt"; then
    echo "fuzz.sh: $build is not a fuzz build; name an empty or fuzz build directory" >&2
    exit 2
  fi
  cmake --build "$build" --target "${targets[@]}" --parallel "${FUZZ_JOBS:-2}"
}

final_stat() {  # the value of one of libFuzzer's final statistics in a log
  sed -n "s/^stat::$1: *//p" "$2" | tail -n 1
}

# Runs one target with the given libFuzzer arguments and prints one line about it.
run_target() {
  local target=$1 label=$2; shift 2
  local log="$build/fuzz-logs/$target.$label.log" artifacts="$build/fuzz-artifacts/$target/"
  mkdir -p "$build/fuzz-logs" "$artifacts"
  local status=ok
  # The paths are absolute: the INI target changes the working directory as the program does.
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1} \
    UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1} \
    "$build/fuzz/$target" -print_final_stats=1 -timeout=25 -artifact_prefix="$artifacts" "$@" \
    >"$log" 2>&1 || status=FAILED
  printf '%-15s %-7s %12s runs %8s exec/s  %s\n' "$target" "$label" \
    "$(final_stat number_of_executed_units "$log")" "$(final_stat average_exec_per_sec "$log")" "$status"
  if [ "$status" != ok ]; then
    grep -E '^(fuzz_[a-z_]+: |==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)' \
      "$log" | head -n 20 | sed 's/^/    /'
    echo "    full log: $log"
    failed=1
  fi
}

replay() {
  for target in "${targets[@]}"; do
    run_target "$target" replay -runs=0 "$root/fuzz/corpus/$target"
  done
}

fuzz() {
  for target in "${targets[@]}"; do
    # New inputs go to the first folder, the working copy; the committed seeds are only read.
    local work="$build/fuzz-corpus/$target"
    mkdir -p "$work"
    run_target "$target" fuzz -max_total_time="$seconds" "$work" "$root/fuzz/corpus/$target"
  done
}

build_targets
failed=0
case "$mode" in
  replay) replay ;;
  ci) replay; fuzz ;;
  fuzz) fuzz ;;
esac
exit "$failed"
