#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in a plain
# build (whose sources then go through scripts/windows-check.sh) and in one
# with AddressSanitizer and UndefinedBehaviorSanitizer;
# then the threaded tests with ThreadSanitizer (scripts/tsan.sh), each fuzz
# target briefly (scripts/fuzz.sh) and a short soak run of the program
# (scripts/soak.sh).
# Exits non-zero on any failure or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

# Each stage says how long it took, so a run that grows shows where (stage ""
# closes the last one).
stage_start=$SECONDS
stage_name=""
stage() {
  if [ -n "$stage_name" ]; then
    echo "-- $stage_name took $(( (SECONDS - stage_start) / 60 )) min $(( (SECONDS - stage_start) % 60 )) s"
  fi
  stage_name=$1
  stage_start=$SECONDS
  if [ -n "$1" ]; then echo "== $1 =="; fi
}

# Line tables (-g1) are all a failure's stack needs and build faster than full
# debug information; gold links the hundred test programs three times faster.
export KSR_CI_FLAGS="-O2 -g1 -DNDEBUG"
export KSR_CI_LINK="-fuse-ld=gold"

build_suite() {
  local dir=$1 flags=$2
  shift 2
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$flags" -DCMAKE_EXE_LINKER_FLAGS="$KSR_CI_LINK" "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
}
test_suite() {
  ctest --test-dir "$1" --output-on-failure -j"$jobs" --timeout 600
}

stage "Plain build, with the Windows check (MinGW-w64, syntax only) beside its tests"
build_suite "$root/build" "$KSR_CI_FLAGS"
# The check needs only the build's generated headers, and most of the tests
# wait on timers and serial lines: the two share the processors well.
windows_log="$root/build/windows-check.log"
KSR_WINDOWS_CHECK_JOBS=2 scripts/windows-check.sh "$root/build" >"$windows_log" 2>&1 &
windows_pid=$!
trap 'kill "$windows_pid" 2>/dev/null || true' EXIT
test_suite "$root/build"
windows_status=0
wait "$windows_pid" || windows_status=$?
trap - EXIT
cat "$windows_log"
if [ "$windows_status" -ne 0 ]; then
  echo "The Windows check failed (exit $windows_status)." >&2
  exit "$windows_status"
fi

stage "AddressSanitizer + UndefinedBehaviorSanitizer build"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# -O1, as the sanitizers' authors advise: it builds a good deal faster than -O2
# and keeps the reports' stacks whole.
build_suite "$root/build-asan" "-O1 -g1 -DNDEBUG" -DKSR_SANITIZE=ON -DKSR_BUILD_BENCH=OFF
# The ThreadSanitizer build takes the processors these tests mostly leave idle.
tsan_log="$root/build-asan/tsan-build.log"
KSR_TSAN_STEP=build scripts/tsan.sh >"$tsan_log" 2>&1 &
tsan_pid=$!
trap 'kill "$tsan_pid" 2>/dev/null || true' EXIT
test_suite "$root/build-asan"
tsan_status=0
wait "$tsan_pid" || tsan_status=$?
trap - EXIT
if [ "$tsan_status" -ne 0 ]; then
  cat "$tsan_log"
  echo "The ThreadSanitizer build failed (exit $tsan_status)." >&2
  exit "$tsan_status"
fi

stage "ThreadSanitizer: the threaded tests (built beside the sanitizer tests above)"
KSR_TSAN_STEP=test scripts/tsan.sh

stage "Fuzzing: each target 30 s on the seed corpus, two at a time"
KSR_FUZZ_JOBS=$jobs scripts/fuzz.sh 30

stage "Soak: the program against a disturbed simulator, 2 minutes"
scripts/soak.sh 2

stage ""
echo "All tests passed in $(( SECONDS / 60 )) min $(( SECONDS % 60 )) s."
