#!/usr/bin/env bash
# Builds the benchmarks in a Release tree (build-bench), runs each of them and
# prints one table: figure, value, target, verdict. The figures are for
# people; nothing here fails on a missed target.
#
#   scripts/bench.sh            the full set (about 11 minutes)
#   scripts/bench.sh --quick    short runs (about 3 minutes)
#   scripts/bench.sh --long     the memory soak for 60 minutes instead of 6
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

quick=()
long=()
for arg in "$@"; do
  case "$arg" in
    --quick) quick=(--quick) ;;
    --long) long=(--long) ;;
    -h|--help) sed -n '2,9p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "bench.sh: unknown option $arg" >&2; exit 2 ;;
  esac
done

scripts/install-deps.sh

build="$root/build-bench"
logs="$build/bench-logs"
benches=()
for src in bench/bench_*.cpp; do
  benches+=("$(basename "$src" .cpp)")
done

echo "== Release build in $build =="
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DKSR_SANITIZE=OFF >/dev/null
cmake --build "$build" -j2 --target ksr583-sim ksr583-monitor "${benches[@]}"

mkdir -p "$logs"
rows=()
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for b in "${benches[@]}"; do
  args=("${quick[@]}")
  if [ "$b" = bench_memory ]; then
    args+=("${long[@]}")
  fi
  echo "== $b ${args[*]} (log: $logs/$b.log) =="
  status=0
  "$build/bench/$b" "${args[@]}" >"$logs/$b.out" 2>"$logs/$b.log" || status=$?
  cat "$logs/$b.out" >>"$logs/$b.log"
  found=0
  while IFS=$'\t' read -r tag figure value target verdict; do
    [ "$tag" = BENCH ] || continue
    rows+=("$figure"$'\t'"$value"$'\t'"$target"$'\t'"$verdict")
    found=1
  done <"$logs/$b.out"
  if { [ "$found" -eq 0 ] || [ "$status" -ne 0 ]; } && ! grep -q FAILED "$logs/$b.out"; then
    rows+=("$b"$'\t'"n/a"$'\t'"-"$'\t'"FAILED (exit $status)")
  fi
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

echo
printf '%-48s %-16s %-28s %s\n' "Figure" "Value" "Target" "Verdict"
printf '%-48s %-16s %-28s %s\n' "------" "-----" "------" "-------"
for row in "${rows[@]}"; do
  IFS=$'\t' read -r figure value target verdict <<<"$row"
  printf '%-48s %-16s %-28s %s\n' "$figure" "$value" "$target" "$verdict"
done
echo
echo "Machine: $(nproc) cores, load average $load_before before, $load_after after."
echo "The machine may be shared with other builds: short figures are the better of"
echo "two runs (start-up: of three); CPU and memory come from one run each."
[ ${#quick[@]} -eq 0 ] || echo "Quick run: one run each, shorter windows; figures are rougher."
echo "Logs: $logs"
