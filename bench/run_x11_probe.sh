#!/usr/bin/env bash
# Runs the real-server probe on private Xvfb servers at 1920 x 1080 and
# 3840 x 2160, RUNS times each (default 3), and prints one JSON object per
# run. The command to measure follows the build folder; it defaults to that
# build's regioncap.
#
#   bench/run_x11_probe.sh BUILD_DIR [COMMAND [ARG...]]
set -euo pipefail
build=$(cd "${1:?usage: run_x11_probe.sh BUILD_DIR [COMMAND...]}" && pwd)
shift
[ $# -gt 0 ] || set -- "$build/regioncap"
probe="$build/bench/regioncap-x11-probe"
[ -x "$probe" ] || { echo "run_x11_probe: build the regioncap-x11-probe target first" >&2; exit 1; }

tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT

for size in 1920x1080 3840x2160; do
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset 3>"$tmp/display" 2>/dev/null &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$tmp/display")"
  for _ in $(seq "${RUNS:-3}"); do
    sleep 1  # memory freed by the previous run settles
    "$probe" --server-pid "$xvfb_pid" -- "$@"
  done
  kill "$xvfb_pid"; wait "$xvfb_pid" 2>/dev/null || true
  xvfb_pid=
  rm -f "$tmp/display"
done
