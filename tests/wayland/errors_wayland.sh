#!/usr/bin/env bash
# What cannot work ends at once with one line on stderr and exit code 1:
# no compositor behind WAYLAND_DISPLAY, an unknown REGIONCAP_BACKEND, and
# (under sway) a snapshot route that is not there; nothing stays on screen.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"

# Runs regioncap with the environment changes given and expects code 1
# and one stderr line matching $1.
expect_one_line() {
  local pattern=$1
  shift
  env "$@" timeout 10 "$BUILD/regioncap" 2>"$WL_TMP/err"
  local code=$?
  [[ $code == 1 ]] || fail "exit code $code (expected 1) with $*: $(cat "$WL_TMP/err")"
  [[ $(wc -l <"$WL_TMP/err") == 1 ]] || fail "not one line with $*: $(cat "$WL_TMP/err")"
  grep -q -- "$pattern" "$WL_TMP/err" || fail "unexpected message with $*: $(cat "$WL_TMP/err")"
}

mkdir -m 700 "$WL_TMP/empty-runtime"
expect_one_line "^regioncap: Wayland: cannot connect to the compositor" \
  XDG_RUNTIME_DIR="$WL_TMP/empty-runtime" WAYLAND_DISPLAY=wayland-9
expect_one_line "^regioncap: REGIONCAP_BACKEND must be x11 or wayland" REGIONCAP_BACKEND=gdi
expect_one_line "^regioncap: Wayland: cannot connect" \
  XDG_RUNTIME_DIR="$WL_TMP/empty-runtime" WAYLAND_DISPLAY= REGIONCAP_BACKEND=wayland
echo "PASS: errors end with one line and exit code 1"
