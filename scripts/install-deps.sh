#!/usr/bin/env bash
# Installs the Debian 12 packages Marlo needs to build, test, package and run,
# and the FIT SDK the tests read exports back with; what is already there is
# left alone.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

packages=(
  build-essential cmake ninja-build ccache git pkg-config
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  nlohmann-json3-dev libsimpleini-dev libpugixml-dev
  qt6-base-dev qt6-charts-dev libqt6opengl6-dev libxkbcommon-dev
  clang libclang-rt-dev
  xvfb xauth imagemagick dbus
  librsvg2-bin desktop-file-utils appstream
  dpkg-dev file lintian
  libxml2-utils python3
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
# Node.js and npm by their commands: a Node.js from elsewhere brings its own
# npm, which Debian's npm package would conflict with.
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The FIT SDK as the lock file pins it, again only when the lock changed.
fit="$root/tests/fit"
if ! cmp -s "$fit/package-lock.json" "$fit/node_modules/.installed-lock.json"; then
  npm ci --prefix "$fit" --no-audit --no-fund --loglevel=error >/dev/null
  cp "$fit/package-lock.json" "$fit/node_modules/.installed-lock.json"
fi
