#!/usr/bin/env bash
# The monitor against a simulated KSR-583 (or a real one), on this machine.
#
# Installs what is missing, builds the program and ksr583-sim, starts the
# simulator on a pseudo-terminal (channels that come and go, a 200-record
# journal), writes demo-run/fconn583.ini for it and starts the program in
# demo-run/. Without a display the program runs under Xvfb, screenshots of
# the main window and the control window are saved, and the demo stops after
# the time it prints. With a display it runs until the window is closed.
# With the simulator, the program's history begins with a month of simulated
# readings and events, so the History window has weeks to show.
# With --service the program runs as it does under systemd, with no window
# and no display, its metrics on a local port; the demo prints where to look
# and stops it with SIGTERM after the time it prints.
set -euo pipefail

usage() {
  cat <<'EOF'
Usage: scripts/demo.sh [options]

  --seconds N        stop the program after N seconds (default without a
                     display: 60; with a display: when the window is closed)
  --port PORT        use the instrument on PORT (e.g. /dev/ttyUSB0) instead
                     of the simulator
  --screenshots DIR  save the screenshots in DIR (default demo-run/screenshots;
                     on a display of your own, only when this is given)
  --tour             more screenshots: every page of the control window, the
                     about box, the History window (24 hours, 30 days, the
                     stability plot; these three are also copied to docs/
                     for the README), and the windows in Russian
  --folder DIR       the program's working folder (default demo-run)
  --service          run ksr583-monitor --service (no window, no display; the
                     metrics endpoint on a free local port) for --seconds
                     (default 75, so that the status file is written), then
                     stop it with SIGTERM
  -h, --help         this text
EOF
}

seconds=""
port=""
shots=""
tour=0
service=0
cd "$(dirname "$0")/.."
root=$(pwd)
run="$root/demo-run"

while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=${2:?--seconds needs a number}; shift 2 ;;
    --port) port=${2:?--port needs a port name}; shift 2 ;;
    --screenshots) shots=${2:?--screenshots needs a folder}; shift 2 ;;
    --tour) tour=1; shift ;;
    --folder) run=${2:?--folder needs a folder}; shift 2 ;;
    --service) service=1; shift ;;
    -h|--help) usage; exit 0 ;;
    *) echo "demo.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
  esac
done
if [ -n "$seconds" ] && ! [[ "$seconds" =~ ^[0-9]+$ ]]; then
  echo "demo.sh: --seconds takes a whole number of seconds" >&2
  exit 2
fi

# --- install and build ------------------------------------------------------

scripts/install-deps.sh
echo "== Building ksr583-monitor and ksr583-sim"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target ksr583-monitor ksr583-sim \
  ksr583-history-fill >/dev/null

mkdir -p "$run"
run=$(cd "$run" && pwd)
# What a previous run left must not pass for this run's answer.
rm -f "$run/sim.out" "$run/display"

# --- what runs, and how it stops -------------------------------------------

sim_pid=""
monitor_pid=""
xvfb_pid=""
wm_pid=""
stop_all() {
  for pid in "$monitor_pid" "$sim_pid" "$wm_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  done
  for pid in "$monitor_pid" "$sim_pid" "$wm_pid" "$xvfb_pid"; do
    [ -n "$pid" ] && wait "$pid" 2>/dev/null || true
  done
}
trap stop_all EXIT
trap 'exit 130' INT TERM

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local limit=$1
  shift
  for ((i = 0; i < limit * 10; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# --- the instrument ---------------------------------------------------------

if [ -z "$port" ]; then
  port="$run/ksr583"
  build/simulator/ksr583-sim --link "$port" --lively --journal 200 \
    --trace "$run/sim-trace.txt" >"$run/sim.out" 2>"$run/sim.err" &
  sim_pid=$!
  sim_started=$(date +%s)
  if ! wait_for 10 test -s "$run/sim.out"; then
    echo "ksr583-sim did not start:" >&2
    cat "$run/sim.err" >&2
    exit 1
  fi
  echo "== Simulated KSR-583 on $(head -n 1 "$run/sim.out"), linked as $port"
else
  echo "== Instrument on $port"
fi

cat >"$run/fconn583.ini" <<EOF
[Settings]
COM=$port
AnalyseAtStart=0
MonitorInterval=1
Qualification=1
AVE=1
Language=EN

[Signal_names]
Channel_1=H-maser VCH-1003M
Channel_2=H-maser VCH-1005A
Channel_3=Cs 5071A
Channel_4=GNSS receiver
EOF

# --- the service ---------------------------------------------------------------

# The first local port from 9583 on that nobody answers on.
free_port() {
  local p
  for p in $(seq 9583 9683); do
    if ! (exec 3<>"/dev/tcp/127.0.0.1/$p") 2>/dev/null; then
      echo "$p"
      return 0
    fi
  done
  return 1
}

# The lines of its metrics that say most, from the endpoint on port $1.
some_metrics() {
  exec 3<>"/dev/tcp/127.0.0.1/$1" || return 0
  printf 'GET /metrics HTTP/1.0\r\nHost: localhost\r\n\r\n' >&3
  grep -E '^ksr583_(up|synchronized|frequency_offset|polls_total)' <&3 | head -n 6 | sed 's/^/   /' || true
  exec 3<&-
}

if [ "$service" = 1 ]; then
  metrics_port=$(free_port)
  printf '\n[Metrics]\nPort=%s\n' "$metrics_port" >>"$run/fconn583.ini"
  [ -n "$seconds" ] || seconds=75
  (cd "$run" && exec env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$root/build/ksr583-monitor" --service) >"$run/service.out" 2>"$run/service.err" &
  monitor_pid=$!
  started=$(date +%s)
  day=$(date +%Y%m%d)
  utc_day=$(date -u +%Y%m%d)
  echo "== ksr583-monitor --service runs in $run (process $monitor_pid), no window, no display."
  echo "   Where to look while it runs:"
  echo "     its standard error (journald keeps it):  tail -f $run/service.err"
  echo "     the program log:                         $run/Logs/$day.log"
  echo "     the status file (every minute):          $run/Status/SupervisInfo.ini"
  echo "     the parameter log:                       $run/Logs/Parameters/$utc_day.log"
  echo "     the history:  sqlite3 $run/Logs/history.sqlite 'SELECT count(*) FROM adj_state'"
  echo "     the metrics:  curl -s http://127.0.0.1:$metrics_port/metrics"
  echo "     the lock that keeps a second program out: $run/ksr583-monitor.lock"
  echo "   Stop it with:   kill -TERM $monitor_pid   (as systemctl stop does)"
  echo "== It runs for $seconds s, until $(date -d "@$((started + seconds))" +%H:%M:%S), then gets SIGTERM"
  while kill -0 "$monitor_pid" 2>/dev/null && [ "$(date +%s)" -lt $((started + seconds)) ]; do
    sleep 1
  done
  echo "== Some of its metrics:"
  some_metrics "$metrics_port"
  status=0
  kill -TERM "$monitor_pid" 2>/dev/null || true
  wait "$monitor_pid" || status=$?
  monitor_pid=""
  echo "== The service has stopped, exit code $status. The end of its program log:"
  tail -n 3 "$run/Logs/$day.log" 2>/dev/null | sed 's/^/   /'
  echo "== Its files in $run:"
  (cd "$run" && find Logs Status -type f 2>/dev/null | sort | sed 's/^/   /')
  exit "$status"
fi

# --- a month of history ------------------------------------------------------

if [ -n "$sim_pid" ]; then
  # Filled anew for each run, so that it ends as the program starts; never
  # beside a real instrument's own history.
  history_db="$run/Logs/history.sqlite"
  mkdir -p "$run/Logs"
  rm -f "$history_db" "$history_db-wal" "$history_db-shm"
  echo "== A month of simulated history for the History window"
  build/history/fill/ksr583-history-fill --interval 10 --days 30 "$history_db" 2>/dev/null | sed 's/^/   /'
fi

# --- the display --------------------------------------------------------------

own_display=0
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  own_display=1
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" 2>"$run/xvfb.err" &
  xvfb_pid=$!
  if ! wait_for 10 test -s "$run/display"; then
    echo "Xvfb did not start:" >&2
    cat "$run/xvfb.err" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$run/display")"
  # A window manager draws the title bars the screenshots show.
  if command -v openbox >/dev/null; then
    openbox >"$run/openbox.log" 2>&1 &
    wm_pid=$!
  fi
  [ -n "$seconds" ] || seconds=60
  [ -n "$shots" ] || shots="$run/screenshots"
  echo "== No display here: the program runs on the virtual display $DISPLAY"
fi

# --- the program ------------------------------------------------------------

(cd "$run" && exec "$root/build/ksr583-monitor") >"$run/monitor.out" 2>&1 &
monitor_pid=$!
started=$(date +%s)
echo "== Monitor KSR-583 started in $run"
if [ -n "$seconds" ]; then
  echo "== It runs for $seconds s, until $(date -d "@$((started + seconds))" +%H:%M:%S)"
else
  echo "== Close its window to end the demo"
fi

# --- screenshots ------------------------------------------------------------

main_window=""

window_named() {
  xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}
has_window() {
  [ -n "$(window_named "$1")" ]
}

# Saves window $1 as $shots/$2.png, with its frame where a window manager
# draws one.
shoot() {
  # Raised first: another window may lie over it.
  xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
  sleep 0.5
  import -frame -window "$1" "$shots/$2.png"
  echo "   $shots/$2.png"
}

# The History window through the main window's History button; it opens on
# the last 24 hours with its range chooser focused.
open_history() {
  click_in "$main_window" 503 271
  wait_for 10 has_window '^History' || return 1
  history_window=$(window_named '^History')
  sleep 3
}
# Chooses the range $1 rows further down the History window's list.
history_range() {
  xdotool windowactivate --sync "$history_window" key --repeat "$1" Down
  sleep 4
}
history_tour() {
  open_history || return 1
  # The cross-hair and the read-out of the channel offsets.
  xdotool mousemove --window "$history_window" 640 300
  sleep 1
  shoot "$history_window" history-24h
  history_range 2   # Last 30 days
  xdotool mousemove --window "$history_window" 640 300
  sleep 1
  shoot "$history_window" history-30-days
  click_in "$history_window" 149 47   # the Stability tab
  click_in "$history_window" 185 93   # its series: the first channel's offset
  xdotool key Down Return
  sleep 3
  shoot "$history_window" history-stability
  for picture in history-24h history-30-days history-stability; do
    cp "$shots/$picture.png" "$root/docs/$picture.png"
  done
  click_in "$history_window" 55 47    # back to the time series
}

click_in() {
  xdotool windowactivate --sync "$1" mousemove --window "$1" "$2" "$3" click 1
  sleep 1.5
}

# Opens menu $1 of the main window's menu bar (0 Options, 1 Language,
# 2 About) and chooses its row $2 (separators are skipped).
menu() {
  local x=(30 100 172)
  xdotool windowactivate --sync "$main_window" mousemove --window "$main_window" "${x[$1]}" 10 click 1
  sleep 0.7
  xdotool key --repeat $(($2 + 1)) Down key Return
  sleep 1.5
}

# The control window through the main window's Control button; its menu rows
# are 40 pixels high from y = 10.
open_control() {
  click_in "$main_window" 503 245
  wait_for 10 has_window 'KSR-583\. ' || return 1
  control_window=$(window_named 'KSR-583\. ')
}
control_page() {
  click_in "$control_window" 90 $((30 + 40 * $1))
}
close_window() {
  xdotool windowactivate --sync "$1" key Escape
  sleep 0.7
}
# Types $4 into the field at ($2, $3) of window $1, replacing its text.
enter_text() {
  xdotool windowactivate --sync "$1" mousemove --window "$1" "$2" "$3" click 1 \
    key ctrl+a type "$4"
  sleep 0.5
}
# On the Smooth Correction page: a plan of 5 steps to 5e-11 with a 1 ns
# phase step, calculated and drawn (nothing is sent to the instrument).
plan_smooth_correction() {
  local x=182 y=37  # the page's fields, from the control window's corner
  enter_text "$control_window" $((x + 217)) $((y + 66)) 5e-11
  enter_text "$control_window" $((x + 453)) $((y + 80)) 5
  enter_text "$control_window" $((x + 142)) $((y + 139)) 1
  click_in "$control_window" $((x + 350)) $((y + 143))
}

take_screenshots() {
  mkdir -p "$shots"
  wait_for 20 has_window '^Monitor KSR-583 v' || return 1
  main_window=$(window_named '^Monitor KSR-583 v')
  # Connected, and every status record shown at least once.
  wait_for 30 sh -c "xdotool getwindowname $main_window | grep -q 'Connected to'" || true
  sleep 8
  echo "== Screenshots"
  shoot "$main_window" main-window
  open_control || return 1
  shoot "$control_window" control-window
  if [ "$tour" = 1 ]; then
    local names=(mode offset smooth limit pps datetime qualification journal ave)
    for row in 1 2 3 4 5 6 7 8; do
      control_page "$row"
      [ "$row" != 2 ] || plan_smooth_correction
      [ "$row" != 5 ] || click_in "$control_window" 292 126  # Change time (date) on device
      shoot "$control_window" "control-$row-${names[$row]}"
    done
  fi
  close_window "$control_window"
  if [ "$tour" = 0 ]; then
    open_history && shoot "$history_window" history
    return 0
  fi
  history_tour || echo "!! The History window could not be shown" >&2

  menu 2 0   # About, About device
  shoot "$(window_named '^Device Information')" about-device
  close_window "$(window_named '^Device Information')"
  if [ -n "$sim_pid" ]; then
    # The simulated instrument first estimates its signals for two minutes.
    echo "   (waiting for the end of the initial signal estimation)"
    while [ "$(date +%s)" -lt $((sim_started + 125)) ]; do sleep 1; done
    shoot "$main_window" main-window-synchronised
  fi
  menu 1 1   # Language, Russian
  shoot "$main_window" main-window-ru
  [ -z "${history_window:-}" ] || shoot "$history_window" history-ru
  open_control || return 1
  control_page 1
  shoot "$control_window" control-window-ru
  close_window "$control_window"
}

if [ -n "$shots" ]; then
  take_screenshots || echo "!! Some screenshots could not be taken" >&2
fi

# --- run, then close as an operator would -------------------------------------

if [ -n "$seconds" ]; then
  while kill -0 "$monitor_pid" 2>/dev/null && [ "$(date +%s)" -lt $((started + seconds)) ]; do
    sleep 1
  done
  if kill -0 "$monitor_pid" 2>/dev/null; then
    main_window=${main_window:-$(window_named 'KSR-583 v')}
    [ -z "$main_window" ] || menu 0 4   # Options, Exit
    wait_for 20 sh -c "! kill -0 $monitor_pid 2>/dev/null" || kill "$monitor_pid"
  fi
fi
wait "$monitor_pid" 2>/dev/null || true
monitor_pid=""

echo "== The program has stopped. Its files in $run:"
(cd "$run" && find Logs Status -type f 2>/dev/null | sort | sed 's/^/   /')
[ -z "$shots" ] || echo "== Screenshots in $shots"
