#!/usr/bin/env bash
# Installs a build into a throw-away prefix and checks it as a desktop sees
# it: the programs, their manual pages, the sample, the desktop entry, the
# icons and the metainfo, the entry and the metainfo validated with
# desktop-file-validate and appstreamcli.
# Then it starts the installed marlo offscreen in a fresh home and waits for
# it to move the sample from share/marlo/ into the user's data folder.
#
#   scripts/check-install.sh BUILD_DIR [DATA_SUBFOLDER]
#
# DATA_SUBFOLDER is the user's data folder below ~/Documents ("COMPANY/PRODUCT");
# $CMAKE names the cmake to install with.
set -euo pipefail

[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [DATA_SUBFOLDER]" >&2; exit 2; }
build="$(cd "$1" && pwd)"
data_subfolder="${2:-Tidewater Software/Marlo}"
root="$(cd "$(dirname "$0")/.." && pwd)"
id=org.marlo.Marlo

work="$(mktemp -d "${TMPDIR:-/tmp}/marlo-install-XXXXXX")"
marlo_pid=""
cleanup() {
  if [ -n "$marlo_pid" ]; then
    kill "$marlo_pid" 2>/dev/null || true
    wait "$marlo_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; scripts/install-deps.sh installs it" >&2; exit 1; }
done

prefix="$work/prefix"
"${CMAKE:-cmake}" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || {
  cat "$work/install.log" >&2
  echo "FAIL: cmake --install $build did not complete" >&2
  exit 1
}

# --- What is installed where ---
entry="$prefix/share/applications/$id.desktop"
metainfo="$prefix/share/metainfo/$id.metainfo.xml"
png="$prefix/share/icons/hicolor/256x256/apps/$id.png"
svg="$prefix/share/icons/hicolor/scalable/apps/$id.svg"
for program in marlo marlo-info; do
  [ -f "$prefix/bin/$program" ] && [ -x "$prefix/bin/$program" ] || fail "bin/$program is not an installed program"
done
manuals="$prefix/share/man/man1"
for file in "$entry" "$metainfo" "$png" "$svg" "$manuals/marlo.1.gz" "$manuals/marlo-info.1.gz"; do
  [ -s "$file" ] || fail "${file#"$prefix"/} is not installed"
done
if ! cmp -s "$root/samples/default.stg" "$prefix/share/marlo/default.stg"; then
  fail "share/marlo/default.stg is not the bundled sample"
fi
[ ! -e "$prefix/bin/default.stg" ] || fail "the sample is installed beside the program as well"

# --- The desktop entry: no errors, warnings or hints ---
if ! report="$(desktop-file-validate "$entry" 2>&1)" || [ -n "$report" ]; then
  fail "desktop-file-validate: ${report:-failed}"
fi
grep -qx 'Exec=marlo' "$entry" || fail "the entry does not start plain marlo: $(grep '^Exec=' "$entry" || true)"
grep -qx "Icon=$id" "$entry" || fail "the entry's icon is not $id"

# --- The metainfo: no errors or warnings ---
if ! report="$(appstreamcli validate --no-net "$metainfo" 2>&1)" || grep -qE '^[EW]:' <<<"$report"; then
  fail "appstreamcli validate: $report"
fi
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
  || fail "the metainfo does not launch $id.desktop"
version="$(sed -n 's/^project(Marlo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo has no release $version"

# --- The 256-pixel icon: a PNG of 256 x 256 (width and height follow the signature and IHDR) ---
if [ -s "$png" ]; then
  header="$(od -An -tx1 -N24 "$png" | tr -d ' \n')"
  [ "${header:0:16}" = 89504e470d0a1a0a ] || fail "the 256-pixel icon is not a PNG"
  [ "${header:32:16}" = 0000010000000100 ] || fail "the icon is not 256 x 256 pixels"
fi

# --- The installed tool reads the installed sample ---
"$prefix/bin/marlo-info" "$prefix/share/marlo/default.stg" >/dev/null 2>"$work/info.log" \
  || fail "installed marlo-info did not read the sample: $(cat "$work/info.log")"

# --- A first start moves the sample into the user's data folder ---
home="$work/home"
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
# A user name of its own, so that a copy the developer is running never gets
# the start handed over; a bus address that leads nowhere, so that no session
# bus is reached.
env HOME="$home" \
    XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
    XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/run" \
    USER="marloinstall$$" QT_QPA_PLATFORM=offscreen \
    DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" \
    "$prefix/bin/marlo" >"$work/marlo.log" 2>&1 &
marlo_pid=$!
# Running and not a child that ended but has not been waited for.
running() {
  local state=""
  [ -r "/proc/$marlo_pid/stat" ] && read -r _ _ state _ <"/proc/$marlo_pid/stat"
  [ -n "$state" ] && [ "$state" != Z ]
}

arrived="$home/Documents/$data_subfolder/default.stg"
for _ in $(seq 100); do
  [ -f "$arrived" ] && break
  running || break
  sleep 0.1
done
if [ ! -f "$arrived" ]; then
  if running; then
    fail "after 10 s the sample is not in ${arrived#"$home"/}"
  else
    wait "$marlo_pid" && code=0 || code=$?
    marlo_pid=""
    fail "marlo ended (exit code $code) without moving the sample: $(cat "$work/marlo.log")"
  fi
elif ! cmp -s "$root/samples/default.stg" "$arrived"; then
  fail "the sample in the data folder differs from the bundled one"
fi
# The program goes on to its first-start splash and waits there: it must
# still be running a moment later.
if [ -n "$marlo_pid" ]; then
  sleep 1
  running || fail "marlo ended on its first start: $(cat "$work/marlo.log")"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of the installed tree failed" >&2
  exit 1
fi
echo "The installed tree in a throw-away prefix passes every check"
