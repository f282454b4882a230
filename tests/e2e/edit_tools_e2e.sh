#!/usr/bin/env bash
# The edit tools on a real X server: a rectangle, an arrow and "Hi 你好"
# typed into a text box go into the clipboard image exactly as the overlay
# shows them inside the selection; after Ctrl+Z the arrow is gone from it.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
import -window root "$E2E_TMP/plain.png" || fail "cannot read the root window"
export XDG_CONFIG_HOME=$E2E_TMP/config

# Selection (100, 100)-(500, 300): the toolbar spans (171, 306)-(500, 334);
# button b's middle lies at toolbar column 17 + 26 (b - 1).
select_area() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed screen at start"
  steps "mousemove 100 100" "mousedown 1" "mousemove 300 150" "mousemove 500 300" "mouseup 1"
  wait_for_pixel 180 308 "222 238 255" "toolbar background"
}
tool_button() { steps "mousemove $((171 + 17 + 26 * ($1 - 1))) 318" "click 1"; }
drag() { steps "mousemove $1 $2" "mousedown 1" "mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))" "mousemove $3 $4" "mouseup 1"; }

# Finishes with the toolbar's finish button and leaves the clipboard's
# picture in $1.
finish_to() {
  steps "mousemove 471 318" "mousedown 1"
  wait_exit "$APP_PID" 50 || fail "regioncap still running after finish"
  APP_PID=
  xdotool mouseup 1
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
  for _ in $(seq 30); do
    xclip -selection clipboard -t image/png -o >"$1" 2>/dev/null && identify "$1" >/dev/null 2>&1 && return
    sleep 0.1
  done
  fail "no picture on the clipboard"
}

# Pixels that differ between crops of two pictures: "w h x1 y1 x2 y2".
differing() {
  convert "$1" -crop "$3x$4+$5+$6" +repage "$E2E_TMP/a.png"
  convert "$2" -crop "$3x$4+$7+$8" +repage "$E2E_TMP/b.png"
  compare -metric AE "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1
}

select_area
tool_button 1
drag 150 130 250 200
wait_for_pixel 150 130 "255 0 0" "the rectangle's corner in red"
tool_button 3
drag 300 250 420 150
tool_button 5
steps "mousemove 180 230" "click 1"
xdotool type --delay 60 "Hi 你好"
sleep 0.5
xdotool key Escape
sleep 0.5
kill -0 "$APP_PID" 2>/dev/null || fail "Escape with a text box open ended the capture"
import -window root "$E2E_TMP/shown.png" || fail "cannot read the overlay"
finish_to "$E2E_TMP/copied.png"
[[ $(identify -format '%wx%h' "$E2E_TMP/copied.png") == 400x200 ]] || fail "clipboard picture is not 400x200"
# Inside the outline and the handles the clipboard equals the overlay.
same=$(differing "$E2E_TMP/copied.png" "$E2E_TMP/shown.png" 392 192 4 4 104 104)
[[ $same == 0 ]] || fail "$same pixels of the clipboard differ from the overlay"
changed=$(differing "$E2E_TMP/copied.png" "$E2E_TMP/plain.png" 392 192 4 4 104 104)
(( changed > 500 )) || fail "only $changed pixels differ from the screen: shapes missing"
text=$(differing "$E2E_TMP/copied.png" "$E2E_TMP/plain.png" 120 30 80 130 180 230)
(( text > 40 )) || fail "the typed text is missing ($text pixels changed)"
hanzi=$(differing "$E2E_TMP/copied.png" "$E2E_TMP/plain.png" 60 30 110 130 210 230)
(( hanzi > 20 )) || fail "the Chinese characters are missing ($hanzi pixels changed)"

select_area
tool_button 1
drag 150 130 250 200
tool_button 3
drag 300 250 420 150
xdotool key ctrl+z
sleep 0.3
finish_to "$E2E_TMP/undone.png"
arrow=$(differing "$E2E_TMP/undone.png" "$E2E_TMP/plain.png" 130 110 195 45 295 145)
[[ $arrow == 0 ]] || fail "the arrow is still there after Ctrl+Z ($arrow pixels)"
rect=$(differing "$E2E_TMP/undone.png" "$E2E_TMP/plain.png" 110 80 45 25 145 125)
(( rect > 100 )) || fail "the rectangle went too ($rect pixels)"
echo "PASS: shapes and text go to the clipboard as shown; undo takes the last one back"
