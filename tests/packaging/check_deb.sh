#!/usr/bin/env bash
# Builds the Debian package from a finished build tree, checks what is in it
# and what lintian says of it, unpacks it into a throw-away root and runs the
# unpacked programs there.
# Usage: check_deb.sh CPACK BUILD_DIR VERSION
set -euo pipefail
cpack=$1
build=$2
version=$3

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# The tests run on a finished build, so cpack need not check every target
# (tests and benchmarks included) first: it installs the one folder that
# holds all the install rules.
"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" \
  -D "CPACK_INSTALL_CMAKE_PROJECTS=$build/packaging;ksr583-monitor;ALL;/" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(echo "$work"/ksr583-monitor_"$version"_*.deb)
[ -f "$deb" ] || fail "no package ksr583-monitor_${version}_*.deb"

files=$(dpkg-deb -c "$deb" | awk '{print $6}' | grep -v '/$')
expected="./usr/bin/ksr583-monitor
./usr/bin/ksr583-sim
./usr/lib/systemd/system/ksr583-monitor.service
./usr/share/applications/ksr583-monitor.desktop
./usr/share/doc/ksr583-monitor/changelog.gz
./usr/share/doc/ksr583-monitor/copyright
./usr/share/icons/hicolor/64x64/apps/ksr583-monitor.png
./usr/share/man/man1/ksr583-monitor.1.gz
./usr/share/man/man1/ksr583-sim.1.gz"
[ "$(sort <<<"$files")" = "$expected" ] || fail "package holds:"$'\n'"$files"

# Qt's SQLite driver is a plugin that no library dependency brings; without it
# (apt --no-install-recommends) no history is recorded.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt5serialport5 libqt5widgets5 libqcustomplot libqt5sql5-sqlite adduser; do
  grep -qE "(^|, )$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
# The metrics endpoint's HTTP server.
grep -q libmicrohttpd <<<"$depends" || fail "dpkg-shlibdeps did not find libmicrohttpd: $depends"

# Errors and warnings fail; lintian's informational tags do not.
lintian_options=(--fail-on error,warning)
[ "$(id -u)" -ne 0 ] || lintian_options+=(--allow-root)
lintian "${lintian_options[@]}" "$deb" || fail "lintian finds faults in the package"

root="$work/root"
dpkg-deb -x "$deb" "$root"
changelog_version=$(zcat "$root/usr/share/doc/ksr583-monitor/changelog.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's last entry is $changelog_version, not $version"
# Every option the programs list has its place in their manual pages.
for program in ksr583-monitor ksr583-sim; do
  page=$(zcat "$root/usr/share/man/man1/$program.1.gz" | sed 's/\\-/-/g')
  for option in $("$root/usr/bin/$program" --help | grep -oE '^ +(-[a-z], )?--[a-z-]+' | grep -oE -- '--[a-z-]+'); do
    grep -qF -- "$option" <<<"$page" || fail "the manual page of $program does not tell of $option"
  done
done
desktop="$root/usr/share/applications/ksr583-monitor.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the menu entry"
grep -qx 'Exec=ksr583-monitor --user-workdir' "$desktop" || fail "menu entry does not start in the user's folder"

# No display: an answer that needed one would fail.
without_display=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb)
answer=$("${without_display[@]}" "$root/usr/bin/ksr583-monitor" --version)
[ "$answer" = "ksr583-monitor $version" ] || fail "--version says: $answer"
# The translations travel inside the program.
# Read whole first: grep -q would stop reading at its match, and the program
# writing the rest of a long help would die of SIGPIPE.
help=$("${without_display[@]}" LC_ALL=ru_RU.UTF-8 "$root/usr/bin/ksr583-monitor" --help) \
  || fail "--help exits non-zero"
grep -q "KSR-583" <<<"$help" || fail "--help does not answer"
grep -q "Контроль и управление" <<<"$help" || fail "the installed program has no Russian"
"$root/usr/bin/ksr583-sim" --help >/dev/null || fail "the installed simulator does not start"

# The service: a unit systemd accepts (checked against the program the package
# ships), installed but not enabled, run by a user postinst makes.
control="$work/control"
dpkg-deb -e "$deb" "$control"
[ -x "$control/postinst" ] || fail "no executable postinst"
sh -n "$control/postinst" || fail "postinst is no valid shell script"
grep -q 'adduser --system' "$control/postinst" || fail "postinst makes no system user"
grep -q 'adduser ksr583 dialout' "$control/postinst" || fail "postinst does not put ksr583 in dialout"
! grep -q 'systemctl' "$control/postinst" || fail "postinst enables or starts the service"
unit="$root/usr/lib/systemd/system/ksr583-monitor.service"
for line in 'User=ksr583' 'StateDirectory=ksr583-monitor' 'WorkingDirectory=/var/lib/ksr583-monitor' \
    'Restart=on-failure' 'ExecStart=/usr/bin/ksr583-monitor --service'; do
  grep -qx "$line" "$unit" || fail "the unit lacks $line"
done
command -v systemd-analyze >/dev/null || fail "no systemd-analyze (scripts/install-deps.sh installs systemd)"
sed "s|/usr/bin/ksr583-monitor|$root/usr/bin/ksr583-monitor|" "$unit" >"$work/ksr583-monitor.service"
systemd-analyze verify "$work/ksr583-monitor.service" || fail "systemd-analyze verify rejects the unit"
echo "PASS: $(basename "$deb")"
