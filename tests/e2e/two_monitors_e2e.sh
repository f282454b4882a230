#!/usr/bin/env bash
# Two RandR monitors of different sizes on one 1600 x 900 screen: the left
# one 1000 x 600 at (0, 0), the right one 600 x 900 at (1000, 0), and under
# the left one an area that no monitor shows. The overlay covers the whole
# screen, shows that area black, and keeps the magnifier and the toolbar on
# the monitor they belong to, though the screen goes on past its edges.
set -u
BUILD=${1:?build directory}
SCREEN_SIZE=1600x900
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
# Giving the left monitor the screen's output replaces the monitor the
# server made for that output, which would otherwise cover everything.
xrandr --setmonitor left 1000/260x600/150+0+0 screen >/dev/null || fail "xrandr cannot add the left monitor"
xrandr --setmonitor right 600/160x900/240+1000+0 none >/dev/null || fail "xrandr cannot add the right monitor"
[[ $(xrandr --listmonitors | head -n1) == "Monitors: 2" ]] || fail "monitors: $(xrandr --listmonitors)"

xdotool mousemove 20 20
"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!

wait_for_pixel 500 300 "$(dimmed 500 300)" "dimmed left monitor at start"
wait_for_pixel 1300 800 "$(dimmed 1300 800)" "dimmed right monitor at start"
wait_for_pixel 500 800 "0 0 0" "black where no monitor shows the screen"

# 100 px from the left monitor's right edge the panel flips to the left of
# the cursor (x 773) instead of reaching onto the right monitor (x 905).
# Its zoom pixel (10, 10) shows the screen 13 px left of and 10 above the cursor.
# With no window under the pointer, its whole monitor is offered, undimmed,
# and the other one stays dimmed.
steps "mousemove 900 300"
wait_for_pixel 783 335 "$(plain 887 290)" "magnifier flipped left at the left monitor's edge"
wait_for_pixel 915 335 "$(plain 915 335)" "no panel where it would reach the right monitor"
wait_for_pixel 1300 300 "$(dimmed 1300 300)" "the right monitor dimmed"
# 100 px above the left monitor's bottom it flips above the cursor (y 355),
# though the screen goes 300 px further down.
steps "mousemove 300 500"
wait_for_pixel 315 365 "$(plain 287 490)" "magnifier flipped up at the left monitor's bottom"

# Selection (100, 300)-(700, 580): 20 px above the left monitor's bottom,
# so the toolbar goes above it, (371, 268)-(700, 296), not below it.
steps "mousemove 100 300" "mousedown 1" "mousemove 400 450" "mousemove 700 580" "mouseup 1"
wait_for_pixel 500 270 "222 238 255" "toolbar background above the selection"
wait_for_pixel 500 588 "$(dimmed 500 588)" "nothing below the selection"

steps "key Escape"
wait_exit "$APP_PID" 30 || fail "regioncap still running after Escape"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
echo "PASS: two monitors: black dead area, magnifier and toolbar kept on their monitor"
