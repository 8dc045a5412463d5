#!/usr/bin/env bash
# Builds a release into build-package/ (or $MARLO_PACKAGE_BUILD_DIR) and
# makes the Debian package there with CPack: marlo_VERSION_ARCH.deb. Extra
# arguments go to CMake.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MARLO_PACKAGE_BUILD_DIR:-$root/build-package}"
"$root/scripts/install-deps.sh"
# Debian's hardening flags; the optimisation is the Release build's own, and
# no flag names this folder, so that ccache serves a clone elsewhere too.
export DEB_BUILD_MAINT_OPTIONS="hardening=+all reproducible=-fixfilepath,-fixdebugpath"
export DEB_CXXFLAGS_MAINT_STRIP="-g -O2"
# Tests and benchmarks are left out: the package holds neither.
MARLO_BUILD_DIR="$build" "$root/scripts/build.sh" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DMARLO_BUILD_TESTS=OFF -DMARLO_BUILD_BENCH=OFF -DMARLO_SANITIZE=OFF "$@"
rm -f "$build"/marlo_*.deb
(cd "$build" && cpack -G DEB)
