#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: in a plain
# build and in one with AddressSanitizer and UndefinedBehaviorSanitizer;
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

run_suite() {
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600
}

echo "== Plain build =="
run_suite "$root/build"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer build =="
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
run_suite "$root/build-asan" -DKSR_SANITIZE=ON -DKSR_BUILD_BENCH=OFF

echo "== ThreadSanitizer build: link, simulator and main window tests =="
scripts/tsan.sh

echo "== Fuzzing: each target 30 s on the seed corpus =="
scripts/fuzz.sh 30

echo "== Soak: the program against a disturbed simulator, 2 minutes =="
scripts/soak.sh 2

echo "All tests passed."
