#!/usr/bin/env bash
# Real pointer input end to end: a drag draws the outlined selection, a drag
# inside moves it, a drag on its right edge resizes it, a right-click outside
# drops it (back to the all-dimmed screen) and a right-click with no
# selection ends the program with exit code 0.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"

BLUE="0 174 255"

xdotool mousemove 20 20
"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed before the drag"

steps "mousemove 100 100" "mousedown 1" "mousemove 200 150" "mousemove 300 200" "mouseup 1"
wait_for_pixel 200 170 "$(plain 200 170)" "clear inside"
wait_for_pixel 100 170 "$BLUE" "left outline"
wait_for_pixel 300 130 "$BLUE" "right outline"
wait_for_pixel 200 200 "$BLUE" "bottom outline"
wait_for_pixel 99 170 "$(dimmed 99 170)" "dimmed left of the outline"
wait_for_pixel 230 201 "$(dimmed 230 201)" "dimmed below the outline"

# Move: the first step takes hold, then the selection follows by (40, 30).
steps "mousemove 200 150" "mousedown 1" "mousemove 210 150" "mousemove 250 180" "mouseup 1"
wait_for_pixel 140 180 "$BLUE" "left outline after the move"
wait_for_pixel 100 180 "$(dimmed 100 180)" "old left edge dimmed again"
wait_for_pixel 300 160 "$(plain 300 160)" "old right edge now inside"

# Resize by the right edge (now at x = 340).
steps "mousemove 340 180" "mousedown 1" "mousemove 350 180" "mousemove 400 180" "mouseup 1"
wait_for_pixel 400 200 "$BLUE" "right outline after the resize"
wait_for_pixel 370 160 "$(plain 370 160)" "clear up to the new right edge"

steps "mousemove 550 420" "click 3"
wait_for_pixel 200 170 "$(dimmed 200 170)" "all dimmed after dropping the selection"
wait_for_pixel 140 180 "$(dimmed 140 180)" "no outline after dropping the selection"

steps "click 3"
wait_exit "$APP_PID" 20 || fail "regioncap still running after a right-click with no selection"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
echo "PASS: drew, moved, resized, dropped the selection, and ended"
