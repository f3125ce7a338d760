#!/usr/bin/env bash
# Builds with ThreadSanitizer (in build-tsan) and runs the tests that drive
# threads: the link, its commands, the link end to end, the simulator, the
# core and the main window that shows it, the history's writer, the History
# window's workers, the status publication and the metrics server. Exits non-zero on any failure or
# ThreadSanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
dir="$root/build-tsan"

scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
# Qt's libraries are not instrumented: ignore_noninstrumented_modules drops
# the memory accesses they make themselves (copies and frees, some 250
# reports without it), which TSan cannot pair with Qt's own locking. Accesses
# made by our code are all still checked.
export TSAN_OPTIONS="suppressions=$root/scripts/tsan.supp halt_on_error=1 second_deadlock_stack=1 exitcode=66 ignore_noninstrumented_modules=1"

# Each test is named after its source file.
tests=()
for source in tests/link/tst_*.cpp tests/linkcommands/tst_*.cpp tests/linke2e/tst_*.cpp \
    tests/simulator/tst_*.cpp tests/mainwindow/tst_mainwindow.cpp tests/history/tst_historystore.cpp \
    tests/status/tst_statuspublisher.cpp tests/metrics/tst_metricsserver.cpp \
    tests/historywindow/tst_historywindow.cpp tests/core/tst_historyhub.cpp tests/core/tst_localcore.cpp \
    tests/platform/tst_stoprequests.cpp tests/history/tst_stabilityjob.cpp; do
  name=${source##*/}
  tests+=("${name%.cpp}")
done

# KSR_TSAN_STEP=build only builds, =test only runs what is built (CI builds
# while other tests run); anything else does both.
step=${KSR_TSAN_STEP:-all}
if [ "$step" != test ]; then
  cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="${KSR_CI_FLAGS:--O2 -g1 -DNDEBUG}" \
    -DCMAKE_EXE_LINKER_FLAGS="${KSR_CI_LINK:--fuse-ld=gold}" -DKSR_TSAN=ON -DKSR_BUILD_BENCH=OFF >/dev/null
  cmake --build "$dir" -j"$jobs" --target "${tests[@]}" ksr583-sim ksr583-monitor
fi
[ "$step" != build ] || exit 0

log="$dir/tsan-ctest.log"
regex="^($(IFS='|'; echo "${tests[*]}"))\$"
start=$(date +%s)
status=0
ctest --test-dir "$dir" --output-on-failure -j"$jobs" --timeout 600 -R "$regex" 2>&1 | tee "$log" || status=$?
seconds=$(( $(date +%s) - start ))

total=${#tests[@]}
passed=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed' "$log" || true)
reports=$(grep -c 'WARNING: ThreadSanitizer' "$log" || true)
echo "ThreadSanitizer: $passed of $total tests passed, $reports reports, ${seconds}s"
if [ "$status" -ne 0 ] || [ "$passed" -ne "$total" ] || [ "$reports" -ne 0 ]; then
  exit 1
fi
