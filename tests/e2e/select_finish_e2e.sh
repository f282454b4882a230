#!/usr/bin/env bash
# Real pointer input end to end: a drag draws a selection that shows the
# desktop undimmed while the rest stays dimmed, and a double-click inside
# it finishes the capture with exit code 0.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"

xdotool mousemove 20 20
"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
wait_for_pixel 600 400 "$(dimmed 600 400)"

# The program reads the pointer when it handles a message, not from the
# message, so each step waits for the previous one to be handled.
for step in "mousemove 100 100" "mousedown 1" "mousemove 200 150" "mousemove 300 200" "mouseup 1"; do
  xdotool $step
  sleep 0.2
done
wait_for_pixel 250 170 "$(plain 250 170)"
wait_for_pixel 600 400 "$(dimmed 600 400)"
wait_for_pixel 20 300 "$(dimmed 20 300)"

xdotool mousemove 250 170
sleep 0.2
xdotool click --repeat 2 --delay 80 1
wait_exit "$APP_PID" 20 || fail "regioncap still running after the double-click"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after the double-click: $(cat "$E2E_TMP/app.log")"
echo "PASS: drag selected, double-click finished"
