#!/usr/bin/env bash
# Installs the Debian packages Quorin needs to build, run, test and package.
# Does nothing when they are all present, so both set-up commands can call it.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev sqlite3 libsodium-dev libarchive-dev zstd
  unixodbc unixodbc-dev odbcinst libsqliteodbc
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  python3 python3-aiosmtpd
  libicu-dev
  xvfb xauth imagemagick fonts-dejavu-core fonts-liberation poppler-utils
  at-spi2-core python3-pyatspi dbus-daemon
  scdoc dpkg-dev lintian desktop-file-utils man-db
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
