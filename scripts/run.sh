#!/usr/bin/env bash
# Installs what is missing, builds, and shows the bundled sample training.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${MARLO_BUILD_DIR:-$root/build}"
exec "$build/tools/marlo-info/marlo-info" "${@:-$root/samples/default.stg}"
