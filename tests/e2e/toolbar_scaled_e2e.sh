#!/usr/bin/env bash
# With Xft.dpi 192 in the server's resources the toolbar is drawn at twice
# its size and its buttons act at their scaled places; REGIONCAP_SCALE
# overrides the resource.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
echo "Xft.dpi: 192" | xrdb -merge || fail "xrdb cannot load the resources"

select_area() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed screen at start"
  steps "mousemove 100 100" "mousedown 1" "mousemove 300 150" "mousemove 500 220" "mouseup 1"
}
press_at() {
  steps "mousemove $1 $2" "mousedown 1"
  wait_exit "$APP_PID" 50 || fail "regioncap still running after the press at ($1, $2)"
  APP_PID=
  xdotool mouseup 1
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
}

# At 2x the selection (100, 100)-(500, 220) gets a 658 x 56 toolbar 12 px
# below it, kept 10 px from the left edge: it spans (10, 232)-(668, 288),
# and 1x toolbar point (x, y) lies at screen (10 + 2x, 232 + 2y).
select_area
wait_for_pixel 28 236 "222 238 255" "toolbar background at 2x"
wait_for_pixel 300 282 "0 174 255" "the toolbar's 2 px bottom outline"
wait_for_pixel 300 285 "$(dimmed 300 285)" "below the toolbar"
press_at $((10 + 2 * 294)) $((232 + 2 * 12))  # finish
size=
for _ in $(seq 30); do
  size=$(xclip -selection clipboard -t image/png -o 2>/dev/null | identify -format '%wx%h' - 2>/dev/null) && break
  sleep 0.1
done
[[ $size == 400x120 ]] || fail "clipboard holds '$size', expected a 400x120 picture"

# REGIONCAP_SCALE=1 wins over Xft.dpi: the toolbar at (171, 226), cancel at
# its 1x column 250.
export REGIONCAP_SCALE=1
select_area
wait_for_pixel 180 228 "222 238 255" "toolbar background at 1x"
press_at $((171 + 250)) 238
echo "PASS: the toolbar follows Xft.dpi and REGIONCAP_SCALE, and acts at its scaled places"
