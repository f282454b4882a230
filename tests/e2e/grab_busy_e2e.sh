#!/usr/bin/env bash
# When another client keeps the keyboard and pointer grabbed, the program
# gives up after about a second with a runtime error (exit code -1, i.e.
# 255) naming the grab, instead of hanging over a screen it cannot use.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
HOLD_GRAB=$(tool hold_grab) || exit 1
start_xvfb

"$HOLD_GRAB" >"$E2E_TMP/grab.out" &
HOLDER_PID=$!
trap 'kill "$HOLDER_PID" 2>/dev/null; cleanup' EXIT
for _ in $(seq 50); do
  grep -q grabbed "$E2E_TMP/grab.out" && break
  sleep 0.1
done
grep -q grabbed "$E2E_TMP/grab.out" || fail "the helper could not grab"

"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
wait_exit "$APP_PID" 50 || fail "regioncap still running 5 s into a held grab"
APP_PID=
[[ $EXIT_CODE == 255 ]] || fail "exit code $EXIT_CODE, expected 255: $(cat "$E2E_TMP/app.log")"
grep -q "X11: cannot grab" "$E2E_TMP/app.log" || fail "no grab error shown: $(cat "$E2E_TMP/app.log")"
echo "PASS: a held grab ends the program with a runtime error"
