#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (AddressSanitizer and
# UndefinedBehaviorSanitizer on) and runs each for the given seconds on a
# scratch copy of its seed corpus. Findings go to build-fuzz/findings/<target>/.
# Exits non-zero if any target found a crash, a leak or a sanitizer report.
#
#   scripts/fuzz.sh [seconds]      default 30 s per target
#   KSR_FUZZ_JOBS=2                targets run side by side (default 1)
#   KSR_FUZZ_TARGETS="answer journal"   only these targets
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

seconds=${1:-30}
jobs=${KSR_FUZZ_JOBS:-1}
targets=(${KSR_FUZZ_TARGETS:-answer journal identity accounts configuration parameterlog})
build="$root/build-fuzz"

scripts/install-deps.sh clang-14 libclang-rt-14-dev

CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="${KSR_CI_FLAGS:--O2 -g1 -DNDEBUG}" \
  -DKSR_FUZZ=ON -DKSR_BUILD_TESTS=OFF -DKSR_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc 2>/dev/null || echo 2)" --target "${targets[@]/#/fuzz_}"

export QT_QPA_PLATFORM=offscreen
# Qt loads libraries that keep process-wide caches until exit; see lsan.supp.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export ASAN_OPTIONS="detect_leaks=1"

run_target() {
  local t=$1
  local work="$build/fuzz-work/$t"
  local findings="$build/findings/$t"
  rm -rf "$work" "$findings"
  mkdir -p "$work/corpus" "$findings"
  # libFuzzer adds what it learns to its first folder: never the committed one.
  cp "$root/fuzz/corpus/$t/"* "$work/corpus/"
  local rc=0
  "$build/fuzz/fuzz_$t" "$work/corpus" "$root/fuzz/regressions/$t" \
    -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$findings/" \
    -timeout=10 -rss_limit_mb=2048 -close_fd_mask=1 >"$work/log" 2>&1 || rc=$?
  echo "$rc" >"$work/rc"
}

pids=()
for t in "${targets[@]}"; do
  run_target "$t" &
  pids+=($!)
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
    wait -n || true
  done
done
wait

failed=0
# corpus: inputs libFuzzer kept at the end; files: what its corpus folder holds.
printf '%-14s %12s %7s %6s %s\n' target executions corpus files findings
for t in "${targets[@]}"; do
  work="$build/fuzz-work/$t"
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -1)
  corpus=$(sed -n 's/.*DONE .* corp: \([0-9]*\)\/.*/\1/p' "$work/log" | tail -1)
  files=$(find "$work/corpus" -type f | wc -l)
  found=$(find "$build/findings/$t" -type f | wc -l)
  rc=$(cat "$work/rc")
  status="none"
  if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
    failed=1
    status="$found file(s) in build-fuzz/findings/$t, exit $rc (log: $work/log)"
  fi
  printf '%-14s %12s %7s %6s %s\n' "$t" "${execs:-?}" "${corpus:-?}" "$files" "$status"
done
for t in "${targets[@]}"; do
  if [ "$(cat "$build/fuzz-work/$t/rc")" -ne 0 ]; then
    echo "== $t =="
    grep -E -A12 'ERROR|runtime error|SUMMARY|fuzz property broken' "$build/fuzz-work/$t/log" | head -40 || true
  fi
done
exit "$failed"
