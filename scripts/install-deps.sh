#!/usr/bin/env bash
# Installs the Debian 12 packages Marlo needs to build, test and run; packages
# already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache git pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libsimpleini-dev libpugixml-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev
  clang libclang-rt-dev
  xvfb xauth imagemagick dbus
  librsvg2-bin desktop-file-utils appstream
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
