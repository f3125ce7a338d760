#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, where
# they are missing. Safe to run again.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools
  libqcustomplot-dev libqt5websockets5-dev
  libmicrohttpd-dev prometheus
  libqt5sql5-sqlite sqlite3
  xvfb xauth imagemagick xdotool openbox
  dpkg-dev file desktop-file-utils lintian systemd
  g++-mingw-w64-x86-64-posix python3
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
