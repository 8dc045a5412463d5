#!/usr/bin/env bash
# Checks that each program's --help, its command-line reader and its manual
# page agree:
# - every option --help lists is accepted (the program does not call it
#   unknown), while an option it does not list is refused;
# - every option the reader compares an argument with (a string literal of
#   an option's form in the reader's source) is listed by --help;
# - every option --help lists is described in the manual page's OPTIONS;
# - --help and --version print and end with 0 without a display, and leave
#   the home, runtime and temporary folders they are given empty.
#
#   scripts/check-options.sh BUILD_DIR
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
version="$(sed -n 's/^project(Marlo VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

work="$(mktemp -d "${TMPDIR:-/tmp}/marlo-options-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/run" "$work/tmp"
chmod 700 "$work/run"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# A run in folders of its own, with no display to start a window on.
isolated() {
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_CONFIG_HOME \
      HOME="$work/home" XDG_RUNTIME_DIR="$work/run" TMPDIR="$work/tmp" "$@"
}

# The options a help text lists: the leading words of its indented lines
# that start with "-" ("  -h, --help   prints ..." lists -h and --help).
listed_options() {
  awk '/^ +-/ { for (i = 1; i <= NF; ++i) { word = $i; sub(/,$/, "", word); if (word !~ /^-/) break; print word } }'
}

# The options a reader's source compares arguments with ("-" alone is the
# name of standard output, no option).
compared_options() { grep -o '"-[-A-Za-z0-9]\+"' "$1" | tr -d '"' | sort -u; }

# The OPTIONS section of a manual page's source, with roff's dashes and
# font changes undone.
manual_options() { sed -n -e '/^\.SH OPTIONS/,/^\.SH /{s/\\-/-/g;s/\\f[BIRP]//g;p}' "$1"; }

# Whether text holds option as a word of its own (so "--" is not found in "--json").
holds_option() { grep -Eq -- "(^|[^-A-Za-z0-9])$2(\$|[^-A-Za-z0-9])" <<<"$1"; }

# What each program prints when it refuses an option.
refused() { grep -qxF -- "$1: unknown option $2" "$work/probe.err"; }

# Probes run an option through a program's reader, standard error to
# $work/probe.err. marlo-info reads its options in turn, so the option comes
# first; marlo reads them all before it acts, and one it does not know is
# found once Qt has taken its own options out, so it needs a platform.
probe_marlo_info() { "$build/tools/marlo-info/marlo-info" "$1" "$work/none.stg" >/dev/null 2>"$work/probe.err" || true; }
probe_marlo() {
  QT_QPA_PLATFORM=offscreen HOME="$work/probe-home" XDG_RUNTIME_DIR="$work/run" \
    "$build/app/marlo" --help "$1" >/dev/null 2>"$work/probe.err" || true
}

# check_program NAME BINARY READER_SOURCE MANUAL_SOURCE PROBE
check_program() {
  local name="$1" binary="$2" reader="$3" manual="$4" probe="$5"
  local help version_text left options option text

  if ! help="$(isolated "$binary" --help 2>"$work/help.err")"; then
    fail "$name --help did not end with 0 without a display: $(cat "$work/help.err")"
    return
  fi
  if ! version_text="$(isolated "$binary" --version 2>"$work/version.err")"; then
    fail "$name --version did not end with 0 without a display: $(cat "$work/version.err")"
  elif [ "$(head -n 1 <<<"$version_text")" != "$name (Marlo) $version" ]; then
    fail "$name --version begins \"$(head -n 1 <<<"$version_text")\", not \"$name (Marlo) $version\""
  fi
  left="$(cd "$work" && find home run tmp -mindepth 1)"
  [ -z "$left" ] || fail "$name --help or --version left files behind: $left"

  options="$(listed_options <<<"$help")"
  [ -n "$options" ] || { fail "$name --help lists no option"; return; }
  for option in --help --version; do
    grep -qxF -- "$option" <<<"$options" || fail "$name --help does not list $option"
  done

  "$probe" --no-such-option
  refused "$name" --no-such-option || fail "$name does not refuse an unknown option: $(cat "$work/probe.err")"
  while read -r option; do
    "$probe" "$option"
    ! refused "$name" "$option" || fail "$name --help lists $option, which $name refuses"
  done <<<"$options"

  while read -r option; do
    grep -qxF -- "$option" <<<"$options" || fail "$name accepts $option (${reader#"$root"/}), which --help does not list"
  done < <(compared_options "$reader")

  text="$(manual_options "$manual")"
  while read -r option; do
    holds_option "$text" "$option" || fail "the manual page ${manual#"$root"/} does not describe $option"
  done <<<"$options"
}

check_program marlo-info "$build/tools/marlo-info/marlo-info" "$root/tools/marlo-info/main.cpp" \
  "$root/tools/marlo-info/marlo-info.1.in" probe_marlo_info
if [ -x "$build/app/marlo" ]; then
  check_program marlo "$build/app/marlo" "$root/src/utils/CommandLine.cpp" "$root/app/marlo.1.in" probe_marlo
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) of the options failed" >&2
  exit 1
fi
echo "The help, the command-line readers and the manual pages agree"
