#!/usr/bin/env bash
# The toolbar's buttons act on the press: cancel ends the program with
# nothing on the clipboard, finish puts exactly the selection there.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"

# Selection (100, 100)-(500, 220): the toolbar spans (171, 226)-(500, 254);
# a button's column c of the toolbar lies at screen x 171 + c.
select_area() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed screen at start"
  steps "mousemove 100 100" "mousedown 1" "mousemove 300 150" "mousemove 500 220" "mouseup 1"
  wait_for_pixel 180 228 "222 238 255" "toolbar background"
}
# Only the press: the program must act before any release.
press_button() {
  steps "mousemove $((171 + $1)) 238" "mousedown 1"
  wait_exit "$APP_PID" 50 || fail "regioncap still running after pressing toolbar column $1"
  APP_PID=
  xdotool mouseup 1
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
}

select_area
press_button 250  # cancel
xclip -selection clipboard -t TARGETS -o >/dev/null 2>&1 && fail "cancel left something on the clipboard"

select_area
press_button 300  # finish
size=
for _ in $(seq 30); do
  size=$(xclip -selection clipboard -t image/png -o 2>/dev/null | identify -format '%wx%h' - 2>/dev/null) && break
  sleep 0.1
done
[[ $size == 400x120 ]] || fail "clipboard holds '$size', expected a 400x120 picture"
echo "PASS: cancel and finish act on the press"
