#!/usr/bin/env bash
# Real pointer input end to end: the magnifier follows the cursor before a
# selection, a drag brings the toolbar 6 px under the selection's right
# end, a right-click inside opens the menu, hovering a row highlights it,
# and "退出截图" ends the program with exit code 0.
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

wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed screen at start"

# The panel sits at the cursor + (5, 25); its zoom pixel (10, 10) shows the
# screen pixel 13 left of and 10 above the cursor.
steps "mousemove 100 100"
wait_for_pixel 115 135 "$(plain 87 90)" "magnifier zoom beside (100, 100)"
steps "mousemove 300 200"
wait_for_pixel 315 235 "$(plain 287 190)" "magnifier zoom beside (300, 200)"

# Selection (100, 100)-(400, 250): the toolbar spans (71, 256)-(400, 284).
steps "mousemove 100 100" "mousedown 1" "mousemove 200 150" "mousemove 400 250" "mouseup 1"
wait_for_pixel 171 258 "222 238 255" "toolbar background below the selection"
wait_for_pixel 395 258 "222 238 255" "toolbar background at its right end"

# The menu opens 4 px right of and below the click: (154, 154)-(309, 410).
steps "mousemove 150 150" "click 3"
wait_for_pixel 234 155 "255 255 255" "menu background"
wait_for_pixel 274 178 "255 255 255" "second row before the hover"
steps "mousemove 234 184"
wait_for_pixel 274 178 "63 152 217" "top line of the highlighted second row"

steps "mousemove 234 394" "click 1"
wait_exit "$APP_PID" 30 || fail "regioncap still running after the exit item"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
echo "PASS: magnifier, toolbar, menu highlight and the exit item"
