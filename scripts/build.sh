#!/usr/bin/env bash
# Configures and builds Marlo into build/ (or $MARLO_BUILD_DIR); extra
# arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MARLO_BUILD_DIR:-$root/build}"
export CCACHE_BASEDIR="$root"
cmake -S "$root" -B "$build" -G Ninja "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
