#!/usr/bin/env bash
# Soak test: the real program (its main window, run by the soak driver on the
# offscreen platform with real ports and the real clock) against ksr583-sim
# for a number of minutes, while an operator is played on it and the line is
# disturbed at random: injected faults (silence, wrong checksums, garbage,
# truncated and late answers), silent spells, the simulator killed and
# restarted, and the "Status" folder swapped for a plain file for a while.
# Then ksr583-soak-check reads what the run left behind (program log, traces,
# journal files, SupervisInfo.ini samples, memory samples), prints a table,
# and the script exits non-zero on any failed check.
#
#   scripts/soak.sh [minutes]          (default 2, at least 2)
#
# KSR_SOAK_SEED   seed of the run (a new one each time by default)
# KSR_SOAK_DIR    folder of the run (default build/soak/run-<time>)
#
# The whole script runs from main(), which bash reads in full before it
# starts: the file may be edited while a long run is going.
set -euo pipefail

# --- events: one line each, as the checker reads them: ms since the epoch,
# kind, fields, separated by tabs.
ev() {
  local line
  line="$(date +%s%3N)	$1"
  shift
  for f in "$@"; do line+="	$f"; done
  printf '%s\n' "$line" >>"$events"
}

# --- the simulator -----------------------------------------------------------
start_sim() {
  sim_n=$((sim_n + 1))
  "$sim" --link "$link" --control "$ctl" --trace "$run/trace-$sim_n.txt" --lively \
    --journal 300 --wire-time --seed $((RANDOM + 1)) \
    >"$run/sim-$sim_n.out" 2>"$run/sim-$sim_n.err" &
  sim_pid=$!
  # Ready once it has printed its terminal's path.
  for _ in $(seq 50); do
    [ -s "$run/sim-$sim_n.out" ] && break
    sleep 0.1
  done
  silent=0
  ev simstart "$sim_n"
}

sim_alive() {
  [ -n "$sim_pid" ] && kill -0 "$sim_pid" 2>/dev/null
}

stop_sim() {
  [ -n "$sim_pid" ] || return 0
  kill -"$1" "$sim_pid" 2>/dev/null || true
  wait "$sim_pid" 2>/dev/null || true
  sim_pid=
  # A killed simulator leaves its link behind; like a device node, it goes.
  rm -f "$link"
  ev simstop "$sim_n" "$1"
}

sim_ctl() {
  sim_alive || return 0
  # Never block on the FIFO, whatever state the simulator is in.
  timeout 2 bash -c 'printf "%s\n" "$1" >"$2"' _ "$1" "$ctl" || true
}

inject_fault() {
  local kinds=(silent checksum nostart echo garbage truncate late)
  local codes=("" P10 PC0 PA0 PV0 m10 m20 m30 G00 G-0 Q10 Q00 X10 X20 X00 T00 T10 W10 W20
    7N0 FN0 310 "o1?" a10 "M?0" "S?0")
  local fault=${kinds[RANDOM % ${#kinds[@]}]}
  local code=${codes[RANDOM % ${#codes[@]}]}
  [ -n "$code" ] && fault+=":$code"
  fault+="*$((RANDOM % 4 + 1))"
  sim_ctl "fault $fault"
  ev fault "$fault"
}

set_silent() {
  sim_alive || return 0
  sim_ctl "silent $1"
  ev silent "$1"
  if [ "$1" = on ]; then silent=1; else silent=0; fi
}

# --- the "Status" folder -----------------------------------------------------
status_to_file() {
  mv "$run/Status" "$run/Status.away"
  : >"$run/Status"
  status_away=1
  ev outage start
}

status_back() {
  rm -f "$run/Status"
  mv "$run/Status.away" "$run/Status"
  status_away=0
  ev outage end
}

# --- the program -------------------------------------------------------------
write_configuration() {
  cat >"$run/fconn583.ini" <<EOF
[Settings]
COM=$link
AnalyseAtStart=0
MonitorInterval=1
Path_local=$run
AVE=1
Qualification=0
Language=EN
SupervisInfoFile=1
DEBUG_LEVEL=0
WriteParamInFile_Period=1
EOF
}

# Resident memory, age of the GUI heartbeat, and the status file's LastUpdate.
sample() {
  local rss beat last=
  rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$driver_pid/status" 2>/dev/null || true)
  beat=$(cat "$run/heartbeat" 2>/dev/null || date +%s)
  if [ -d "$run/Status" ]; then
    last=$(sed -n 's/^LastUpdate=//p' "$run/Status/SupervisInfo.ini" 2>/dev/null | tr -d '\r' || true)
  fi
  ev sample "${rss:-0}" "$(($(date +%s) - ${beat:-0}))" "$last"
}

# The operator closes the program, which must end on its own.
close_program() {
  ev stop
  : >"$run/stop"
  for _ in $(seq 120); do
    kill -0 "$driver_pid" 2>/dev/null || break
    sleep 0.5
  done
  if kill -0 "$driver_pid" 2>/dev/null; then
    echo "soak: the program did not close within 60 s"
    kill -ABRT "$driver_pid" 2>/dev/null || true
    wait "$driver_pid" 2>/dev/null || true
    driver_rc=hung
  else
    wait "$driver_pid" && driver_rc=0 || driver_rc=$?
  fi
}

cleanup() {
  if [ -n "$driver_pid" ]; then kill -9 "$driver_pid" 2>/dev/null || true; fi
  if [ -n "$sim_pid" ]; then kill "$sim_pid" 2>/dev/null || true; fi
  if [ "$status_away" = 1 ]; then status_back >/dev/null 2>&1 || true; fi
}

# --- one second of the run: the disturbances due at second t -----------------
# Every disturbance comes once early, so that even the short run has each of
# them; later ones come at random.
disturb() {
  local t=$1
  if [ "$t" -ge "$next_fault" ]; then
    inject_fault
    next_fault=$((t + 3 + RANDOM % 8))
  fi

  if [ "$restart_at" -ge 0 ] && [ "$t" -ge "$restart_at" ]; then
    start_sim
    restart_at=-1
    next_kill=$((t + 90 + RANDOM % 150))
  elif [ "$restart_at" -lt 0 ] && [ "$t" -ge "$next_kill" ]; then
    local signals=(TERM KILL)
    stop_sim "${signals[RANDOM % 2]}"
    if [ "$sim_n" = 1 ]; then restart_at=$((t + 6)); else restart_at=$((t + 2 + RANDOM % 40)); fi
  fi

  if [ "$silence_end" -ge 0 ] && [ "$t" -ge "$silence_end" ]; then
    if [ "$silent" = 1 ]; then set_silent off; fi
    silence_end=-1
    next_silence=$((t + 120 + RANDOM % 180))
  elif [ "$silence_end" -lt 0 ] && [ "$t" -ge "$next_silence" ] && sim_alive; then
    set_silent on
    # Short at first; later long enough, at times, for the program to give up.
    if [ "$t" -lt 60 ]; then silence_end=$((t + 10)); else silence_end=$((t + 5 + RANDOM % 70)); fi
  fi

  if [ "$outage_end" -ge 0 ] && [ "$t" -ge "$outage_end" ]; then
    status_back
    outage_end=-1
    next_outage=$((t + 150 + RANDOM % 250))
  elif [ "$outage_end" -lt 0 ] && [ "$t" -ge "$next_outage" ]; then
    status_to_file
    # The first one spans the first minute's rewrite.
    if [ "$t" -lt 60 ]; then outage_end=$((t + 25)); else outage_end=$((t + 30 + RANDOM % 120)); fi
  fi
}

# From here on nothing disturbs the program, so that it can finish what the
# operator asked for and be found polling at the end.
calm_down() {
  if [ "$silent" = 1 ]; then set_silent off; fi
  sim_ctl clear-faults
  ev fault-clear
  sim_alive || start_sim
  if [ "$status_away" = 1 ]; then status_back; fi
}

main() {
  cd "$(dirname "$0")/.."
  local root
  root=$(pwd)

  minutes=${1:-2}
  if ! [[ $minutes =~ ^[0-9]+$ ]] || [ "$minutes" -lt 2 ]; then
    echo "usage: $0 [minutes, at least 2]" >&2
    exit 2
  fi

  local build=$root/build
  if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  fi
  cmake --build "$build" -j2 --target ksr583-sim ksr583-soak-driver ksr583-soak-check \
    >"$build/soak-build.log" 2>&1 || { cat "$build/soak-build.log"; exit 1; }
  sim=$build/simulator/ksr583-sim
  local driver=$build/tests/soak/ksr583-soak-driver
  local checker=$build/tests/soak/ksr583-soak-check

  local seed=${KSR_SOAK_SEED:-$(($(date +%s) % 32768))}
  RANDOM=$seed
  run=${KSR_SOAK_DIR:-$build/soak/run-$(date +%Y%m%d-%H%M%S)}
  rm -rf "$run"
  mkdir -p "$run/Journal"
  run=$(cd "$run" && pwd)
  # A name of its own: the serial port lock goes by name, and other runs may
  # share the machine.
  link=$run/ksr583-$$
  ctl=$run/sim.ctl
  events=$run/script-events.tsv
  write_configuration

  local total=$((minutes * 60))
  local quiet_from=$((total - 35))

  sim_n=0 sim_pid= silent=0 status_away=0 driver_pid= driver_rc=
  next_fault=5 next_kill=20 restart_at=-1 next_silence=32 silence_end=-1 next_outage=50 outage_end=-1
  trap cleanup EXIT

  echo "soak: $minutes min, seed $seed, folder $run"
  start_sim
  QT_QPA_PLATFORM=offscreen "$driver" --dir "$run" --act-for "$quiet_from" --seed "$seed" \
    >"$run/driver.out" 2>"$run/driver.err" &
  driver_pid=$!
  ev driverstart "$driver_pid"

  local begin t calm=0 reported=0
  begin=$(date +%s)
  while :; do
    t=$(($(date +%s) - begin))
    if ! kill -0 "$driver_pid" 2>/dev/null; then
      wait "$driver_pid" && driver_rc=0 || driver_rc=$?
      echo "soak: the program ended by itself after $t s (exit $driver_rc)"
      break
    fi
    sample
    # A few seconds more, so that the last minute's status file is in.
    [ "$t" -ge $((total + 8)) ] && break
    if [ "$t" -lt "$quiet_from" ]; then
      disturb "$t"
    elif [ "$calm" = 0 ]; then
      calm=1
      calm_down
    fi
    if [ $((t / 60)) -gt "$reported" ]; then
      reported=$((t / 60))
      echo "soak: $reported of $minutes min, simulator #$sim_n"
    fi
    sleep 1
  done

  [ -n "$driver_rc" ] || close_program
  driver_pid=
  ev driverexit "$driver_rc"
  stop_sim TERM

  echo "soak: results of the $minutes-minute run (seed $seed, folder $run)"
  "$checker" "$run"
}

main "$@"
