#!/usr/bin/env bash
# A reader that stops in the middle of a large transfer does not hold the
# clipboard up: other readers get the whole picture meanwhile.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"

xdotool mousemove 20 20
"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
sleep 1
steps "mousemove 0 0" "mousedown 1" "mousemove 300 200" "mousemove 639 479" "mouseup 1" "mousemove 300 200"
xdotool click --repeat 2 --delay 80 1
wait_exit "$APP_PID" 20 || fail "regioncap still running after the double-click"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"

# The BMP is far larger than one property: it travels in INCR chunks, and
# this reader stops after the first.
xclip -selection clipboard -t image/bmp -o >"$E2E_TMP/stalled.bmp" &
STALLED=$!
sleep 0.1
kill -STOP "$STALLED"
for format in image/png image/bmp; do
  timeout 10 xclip -selection clipboard -t "$format" -o >"$E2E_TMP/clip" || fail "$format cannot be read beside a stalled reader"
  [[ $(identify -format '%wx%h' "$E2E_TMP/clip") == 639x479 ]] || fail "$format is not the whole picture"
done
kill -CONT "$STALLED"
kill "$STALLED" 2>/dev/null
wait "$STALLED" 2>/dev/null
echo text | xclip -selection clipboard -i >/dev/null 2>&1
echo "PASS: a stalled reader holds nobody up"
