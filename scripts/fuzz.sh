#!/usr/bin/env bash
# Builds the fuzz targets with clang into build-fuzz/ (or $MARLO_FUZZ_BUILD_DIR)
# and runs them.
#   scripts/fuzz.sh TARGET [SECONDS]   fuzz one target (stg ses str ini pel rvi
#                                      rvr rvs fit tcx csv settings), by default
#                                      for 60 s
#   scripts/fuzz.sh --all SECONDS      fuzz every target, sharing the time
#   scripts/fuzz.sh --replay           run every target once over its
#                                      regression corpus, tests/corpus/TARGET
# New inputs collect in build-fuzz/corpus/TARGET, findings in
# build-fuzz/findings/TARGET. Extra libFuzzer options may follow in
# $MARLO_FUZZ_OPTIONS.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MARLO_FUZZ_BUILD_DIR:-$root/build-fuzz}"
targets=(stg ses str ini pel rvi rvr rvs fit tcx csv settings)

build_targets() {
  export CCACHE_BASEDIR="$root"
  cmake -S "$root" -B "$build" -G Ninja -DMARLO_FUZZ=ON >/dev/null
  cmake --build "$build" --parallel
  rm -rf "$build/seeds"
  "$build/fuzz/make-seeds" "$build/seeds"
}

fuzz() {
  local target="$1" seconds="$2"
  mkdir -p "$build/corpus/$target" "$build/findings/$target" "$root/tests/corpus/$target"
  echo "== fuzz_$target for $seconds s"
  # shellcheck disable=SC2086
  "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$build/findings/$target/" ${MARLO_FUZZ_OPTIONS:-} \
    "$build/corpus/$target" "$build/seeds/$target" "$root/tests/corpus/$target"
}

replay() {
  local target="$1"
  echo "== fuzz_$target over tests/corpus/$target"
  "$build/fuzz/fuzz_$target" -runs=0 -timeout=10 "$root/tests/corpus/$target"
}

case "${1:-}" in
  --replay)
    build_targets
    for target in "${targets[@]}"; do replay "$target"; done ;;
  --all)
    [ $# -eq 2 ] || { echo "usage: $0 --all SECONDS" >&2; exit 2; }
    build_targets
    each=$(( $2 / ${#targets[@]} ))
    for target in "${targets[@]}"; do fuzz "$target" "$(( each > 0 ? each : 1 ))"; done ;;
  stg|ses|str|ini|pel|rvi|rvr|rvs|fit|tcx|csv|settings)
    build_targets
    fuzz "$1" "${2:-60}" ;;
  *)
    sed -n '2,13p' "$0" >&2
    exit 2 ;;
esac
