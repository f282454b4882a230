#!/usr/bin/env bash
# Hotkey to dimmed overlay on a 3840 x 2160 Xvfb screen: the resident
# regioncap against a fresh one, in one run.
#
#   bench/hotkey_bench.sh BUILD_DIR [ROUNDS]
#
# BUILD_DIR holds regioncap and bench/hotkey-latency (a Release build).
set -euo pipefail
build=$(cd "${1:?build directory}" && pwd)
rounds=${2:-10}
tmp=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 3840x2160x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wait $xvfb 2>/dev/null; rm -rf "$tmp"' EXIT
for _ in $(seq 100); do
  [[ -s $tmp/display ]] && break
  sleep 0.1
done
[[ -s $tmp/display ]] || { echo "Xvfb did not start: $(cat "$tmp/xvfb.log")" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$tmp/display")"
"$build/bench/hotkey-latency" "$build/regioncap" "$rounds"
