#!/usr/bin/env bash
# Proves that the Debian package records history where nothing but its own
# dependencies is installed: builds the package, makes a minimal Debian with
# debootstrap in build/minimal-debian/ (kept for the next run), installs the
# package there with apt --no-install-recommends, runs the program offscreen
# against ksr583-sim for a while and counts the readings in
# Logs/history.sqlite with the sqlite3 shell. Then removes libqt5sql5-sqlite
# alone and shows that no history is recorded without it.
#
# Opt-in and slow the first time (the minimal system is about 250 MB to
# fetch); needs root, network access to the machine's Debian mirror, and a
# finished build (default build/). Not part of scripts/test.sh.
# Usage: scripts/minimal-debian-check.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
root_dir=$(pwd)
build=$(realpath -m "${1:-build}")
seconds=${2:-20}
system="$build/minimal-debian"

[ "$(id -u)" -eq 0 ] || { echo "minimal-debian-check: needs root (debootstrap, chroot)" >&2; exit 1; }
scripts/install-deps.sh debootstrap
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The package, as the package test makes it.
cmake --build "$build" --target ksr583-monitor ksr583-sim ksr583packagedocs -j2 >/dev/null
packages="$build/minimal-debian-deb"
rm -rf "$packages" && mkdir -p "$packages"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$packages" \
  -D "CPACK_INSTALL_CMAKE_PROJECTS=$build/packaging;ksr583-monitor;ALL;/" >"$packages/cpack.log" 2>&1 \
  || { cat "$packages/cpack.log"; fail "cpack could not build the package"; }
deb=$(echo "$packages"/ksr583-monitor_*.deb)

# The same release and mirror as this machine's apt.
suite=$(. /etc/os-release && echo "$VERSION_CODENAME")
mirror=$(grep -hoE '^URIs: *[^ ]+' /etc/apt/sources.list.d/*.sources 2>/dev/null | head -1 | awk '{print $2}')
[ -n "$mirror" ] || mirror=$(grep -hoE '^deb +[^ ]+' /etc/apt/sources.list 2>/dev/null | head -1 | awk '{print $2}')
[ -n "$mirror" ] || fail "no Debian mirror in this machine's apt sources"
if [ ! -x "$system/usr/bin/apt-get" ]; then
  echo "== debootstrap --variant=minbase $suite into $system"
  rm -rf "$system"
  debootstrap --variant=minbase "$suite" "$system" "$mirror" >"$build/minimal-debian.log" 2>&1 \
    || { tail -20 "$build/minimal-debian.log"; fail "debootstrap failed"; }
fi

mounted=()
mount_in() {
  mkdir -p "$system$2"
  mount "${@:3}" "$1" "$system$2"
  mounted=("$system$2" "${mounted[@]}")
}
cleanup() {
  local m
  for m in "${mounted[@]}"; do umount -l "$m" 2>/dev/null || true; done
}
trap cleanup EXIT
# The simulator's pseudo-terminal comes from this machine's /dev.
mount_in proc /proc -t proc
mount_in /dev /dev --bind
mount_in /dev/pts /dev/pts --bind
cp /etc/resolv.conf "$system/etc/resolv.conf"
in_system() { chroot "$system" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

echo "== apt-get install --no-install-recommends $(basename "$deb") sqlite3"
cp "$deb" "$system/tmp/"
in_system apt-get update -qq
in_system apt-get purge -y -qq ksr583-monitor >/dev/null 2>&1 || true
in_system env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
  "/tmp/$(basename "$deb")" sqlite3 >"$build/minimal-debian-install.log" 2>&1 \
  || { tail -20 "$build/minimal-debian-install.log"; fail "the package does not install"; }
in_system dpkg-query -W -f='${Package} ${Version} ${Status}\n' ksr583-monitor libqt5sql5-sqlite

# One run of the program against the simulator; prints the readings recorded.
run_program() {
  in_system sh -c '
    set -e
    rm -rf /tmp/work && mkdir -p /tmp/work
    ksr583-sim --link /tmp/ksr583 >/tmp/sim.out 2>&1 &
    sim=$!
    sleep 1
    printf "[Settings]\nCOM=/tmp/ksr583\nAnalyseAtStart=0\nMonitorInterval=1\n" >/tmp/work/fconn583.ini
    QT_QPA_PLATFORM=offscreen timeout '"$seconds"' ksr583-monitor --workdir /tmp/work >/tmp/monitor.out 2>&1 || true
    kill $sim 2>/dev/null || true
    if [ -f /tmp/work/Logs/history.sqlite ]; then
      sqlite3 /tmp/work/Logs/history.sqlite "SELECT count(*) FROM detect; SELECT count(*) FROM adj_state;" | paste -sd" "
    else
      echo "no history"
    fi'
}

echo "== ksr583-monitor against ksr583-sim for $seconds s"
readings=$(run_program)
echo "readings recorded (DETECT, ADJ_STATE): $readings"
set -- $readings
[ "${1:-0}" -gt 0 ] 2>/dev/null && [ "${2:-0}" -gt 0 ] || fail "no history recorded: $readings"

echo "== the same without libqt5sql5-sqlite (dpkg --force-depends)"
in_system dpkg --remove --force-depends libqt5sql5-sqlite >/dev/null 2>&1
echo "readings recorded: $(run_program)"
echo "Qt says:"
grep -i "sql" "$system/tmp/monitor.out" | sed 's/^/  /' || true
in_system env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends libqt5sql5-sqlite >/dev/null

echo "PASS: $(basename "$deb") installed with --no-install-recommends records history"
