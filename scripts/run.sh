#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program; extra
# arguments go to it.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${MARLO_BUILD_DIR:-$root/build}"
exec "$build/app/marlo" "$@"
