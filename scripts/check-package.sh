#!/usr/bin/env bash
# Makes the Debian package with scripts/package.sh and checks it as dpkg and
# a user meet it: its control fields, that it holds exactly the expected
# files, owned by root with their modes, that lintian finds no error and no
# warning (the deliberate ones are overridden in the package itself), and
# that the programs extracted into a throw-away root run: marlo-info
# --version and on the packaged sample, and marlo --version offscreen.
#
#   scripts/check-package.sh
#
# $MARLO_PACKAGE_BUILD_DIR names the package's build folder, as for
# package.sh (build-package/ by default, so that a package already built is
# reused and only what changed is built again).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${MARLO_PACKAGE_BUILD_DIR:-$root/build-package}"
version="$(sed -n 's/^project(Marlo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
id=org.marlo.Marlo

work="$(mktemp -d "${TMPDIR:-/tmp}/marlo-package-XXXXXX")"
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for tool in dpkg-deb dpkg-shlibdeps lintian; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing; scripts/install-deps.sh installs it" >&2; exit 1; }
done

"$root/scripts/package.sh" >"$work/package.log" 2>&1 || {
  cat "$work/package.log" >&2
  echo "FAIL: scripts/package.sh did not complete" >&2
  exit 1
}
deb="$build/marlo_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { echo "FAIL: scripts/package.sh made no ${deb#"$root"/}" >&2; exit 1; }

# --- The control fields ---
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = marlo ] || fail "the package is named \"$(field Package)\""
[ "$(field Version)" = "$version" ] || fail "the package's version is \"$(field Version)\", not $version"
for name in Maintainer Section Priority Homepage; do
  [ -n "$(field "$name")" ] || fail "the package has no $name"
done
# dpkg-shlibdeps found the libraries the programs link: Qt's and the C library.
for library in libqt6widgets6 libqt6charts6 libc6; do
  grep -qE "(^|, )$library( |,|$)" <<<"$(field Depends)" || fail "the package does not depend on $library: $(field Depends)"
done
description="$(field Description)"
[ "$(wc -l <<<"$description")" -ge 3 ] || fail "the package has no long description: $description"

# --- The files, their owners and modes ---
# Each line of the listing: mode, owner, size, date, time, path.
dpkg-deb --contents "$deb" >"$work/contents"
awk '$1 !~ /^d/ { print $1, $6 }' "$work/contents" | sort >"$work/files"
sort >"$work/expected" <<EOF
-rwxr-xr-x ./usr/bin/marlo
-rwxr-xr-x ./usr/bin/marlo-info
-rw-r--r-- ./usr/share/applications/$id.desktop
-rw-r--r-- ./usr/share/doc/marlo/changelog.gz
-rw-r--r-- ./usr/share/doc/marlo/copyright
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/$id.png
-rw-r--r-- ./usr/share/icons/hicolor/scalable/apps/$id.svg
-rw-r--r-- ./usr/share/man/man1/marlo-info.1.gz
-rw-r--r-- ./usr/share/man/man1/marlo.1.gz
-rw-r--r-- ./usr/share/marlo/default.stg
-rw-r--r-- ./usr/share/metainfo/$id.metainfo.xml
EOF
if ! diff -u "$work/expected" "$work/files" >"$work/files.diff"; then
  fail "the package's files differ from the expected ones (- expected, + in the package):
$(tail -n +3 "$work/files.diff")"
fi
awk '$1 ~ /^d/ && $1 != "drwxr-xr-x" { print "a folder of mode " $1 ": " $6 } $2 != "root/root" { print "owned by " $2 ": " $6 }' \
  "$work/contents" >"$work/owners"
[ ! -s "$work/owners" ] || fail "$(cat "$work/owners")"

# --- lintian: no error, no warning ---
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
  fail "lintian:
$(cat "$work/lintian.log")"
fi

# --- The extracted package ---
installed="$work/root"
dpkg-deb --extract "$deb" "$installed"
for page in marlo marlo-info; do
  gzip --test "$installed/usr/share/man/man1/$page.1.gz" 2>/dev/null || fail "$page.1.gz is not gzip's"
done
if zcat "$installed/usr/share/doc/marlo/changelog.gz" >"$work/changelog" 2>/dev/null; then
  changelog_version="$(dpkg-parsechangelog --file "$work/changelog" --show-field Version 2>&1)" || true
  [ "$changelog_version" = "$version" ] || fail "the changelog's latest entry is not for $version: $changelog_version"
fi
cmp -s "$root/samples/default.stg" "$installed/usr/share/marlo/default.stg" || fail "the packaged sample is not the bundled one"

# The installed programs, with the host's libraries and folders of their own.
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
run_installed() {
  local program="$1"
  shift
  env HOME="$work/home" XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen "$installed/usr/bin/$program" "$@"
}
for program in marlo-info marlo; do
  if ! output="$(run_installed "$program" --version 2>&1)"; then
    fail "the installed $program --version failed: $output"
  elif [ "$(head -n 1 <<<"$output")" != "$program (Marlo) $version" ]; then
    fail "the installed $program --version begins \"$(head -n 1 <<<"$output")\""
  fi
done
run_installed marlo-info "$installed/usr/share/marlo/default.stg" >/dev/null 2>"$work/info.err" \
  || fail "the installed marlo-info did not read the packaged sample: $(cat "$work/info.err")"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of the package failed" >&2
  exit 1
fi
echo "${deb#"$root"/} passes every check: $(wc -l <"$work/files") files, lintian clean"
