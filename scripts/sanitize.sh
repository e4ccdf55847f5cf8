#!/usr/bin/env bash
# Runs the tests under the sanitizers.
#   scripts/sanitize.sh asan   build-asan: every target with AddressSanitizer and
#                              UndefinedBehaviorSanitizer, then the whole test suite
#   scripts/sanitize.sh tsan   build-tsan: the tests that run more than one thread (the link,
#                              measurement, window and end-to-end tests) under ThreadSanitizer
#   scripts/sanitize.sh [all]  both, one after the other
# Prints one summary line per mode and exits non-zero when any build or test fails. Tests
# labelled "soak" are left to their own run. SANITIZE_JOBS sets the parallel jobs (default 2).
set -uo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${SANITIZE_JOBS:-2}

# The tests that run the receiver thread, or the window with it: whole test folders, and of
# tests/app only the window tests (each test is labelled with its executable's name).
threaded_targets=(tests/link/all tests/measure/all app_window_test tests/e2e/all)
threaded_tests=(tests/link tests/measure "tests/app -L ^app_window_test$" tests/e2e)

summaries=()
failed=0

# Runs CTest in one folder of a build (with any further CTest options) and adds the counts of
# its closing line to total and bad.
run_ctest() {  # <log> <test-dir> [ctest options...]
  local log=$1 dir=$2 out status line
  shift 2
  out=$(mktemp)
  ctest --test-dir "$dir" -LE soak "$@" --no-tests=error --output-on-failure --timeout 300 \
    --parallel "$jobs" >"$out" 2>&1
  status=$?
  cat "$out" >>"$log"
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$out" | tail -n 1)
  if [ -n "$line" ]; then
    total=$((total + $(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")))
    bad=$((bad + $(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")))
  fi
  [ "$status" -eq 0 ] || sed -n '/tests passed/,$p' "$out"
  rm -f "$out"
  return "$status"
}

# Configures build-<mode>, builds the targets (all when none are given) and runs the tests of
# the given folders of that build, with the sanitizer options already in the environment. Each
# test entry is a folder of the build, optionally followed by CTest options.
run_mode() {  # <mode> <sanitizers> <target>... -- <test entry>...
  local mode=$1 sanitizers=$2
  shift 2
  local build="$root/build-$mode" targets=() dirs=() start=$SECONDS status=ok
  while [ $# -gt 0 ] && [ "$1" != -- ]; do targets+=("$1"); shift; done
  shift
  dirs=("$@")
  local log="$build/sanitize.log"
  total=0 bad=0
  mkdir -p "$build"
  : >"$log"
  echo "$mode: building in $build (log: $log)"
  if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVE17_SANITIZE="$sanitizers" >>"$log" 2>&1; then
    status="configure FAILED"
  elif ! cmake --build "$build" --parallel "$jobs" ${targets[@]+--target "${targets[@]}"} \
    >>"$log" 2>&1; then
    status="build FAILED"
  else
    for entry in "${dirs[@]}"; do
      read -r -a words <<<"$entry"
      echo "$mode: running the tests in $entry"
      run_ctest "$log" "$build/${words[0]}" "${words[@]:1}" || status="tests FAILED"
    done
  fi
  if [ "$status" != ok ]; then
    failed=1
    [ "$status" = "tests FAILED" ] || tail -n 40 "$log"
  fi
  local took=$((SECONDS - start))
  summaries+=("$(printf '%s: %s, %d of %d tests passed, %dm%02ds' "$mode" "$status" \
    $((total - bad)) "$total" $((took / 60)) $((took % 60)))")
}

run_asan() {
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    run_mode asan address,undefined -- .
}

# Ninja's "<folder>/all" targets build exactly the executables of one test folder.
run_tsan() {
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    run_mode tsan thread "${threaded_targets[@]}" -- "${threaded_tests[@]}"
}

case "${1:-all}" in
  asan) run_asan ;;
  tsan) run_tsan ;;
  all) run_asan; run_tsan ;;
  *) echo "usage: $0 [asan|tsan|all]" >&2; exit 2 ;;
esac
printf '%s\n' "${summaries[@]}"
exit "$failed"
