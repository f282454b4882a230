#!/usr/bin/env bash
# Keys, window snapping, colour copy and the command line on a real X
# server: C leaves the colour on the clipboard after the program ends, a
# click selects exactly a window's frame (with and without a window
# manager), arrows work to the pixel, --region writes the exact pixels and
# --print-geometry prints what was selected.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
MAKE_WINDOW=$(tool make_window) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
import -window root "$E2E_TMP/root.png" || fail "cannot read the root window"

# Starts regioncap with the arguments given, the pointer at (20, 20).
start_app() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" "$@" >"$E2E_TMP/out.txt" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  sleep 1
}

# The program must end with code 0 within 2 s and have printed $1.
expect_end() {
  wait_exit "$APP_PID" 20 || fail "regioncap still running"
  APP_PID=
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
  [[ $# == 0 || $(cat "$E2E_TMP/out.txt") == "$1" ]] || fail "printed '$(cat "$E2E_TMP/out.txt")', expected '$1'"
}

# Colour: Tab switches to HEX, C copies it and ends; the readout is the
# pixel under the cross-hair's crossing, one row above the pointer.
start_app
steps "mousemove 200 150" "key Tab" "key c"
expect_end
read -r r g b < <(plain 200 149)
want=$(printf '#%02X%02X%02X' "$r" "$g" "$b")
sleep 1
[[ $(timeout 5 xclip -selection clipboard -t UTF8_STRING -o) == "$want" ]] || fail "UTF8_STRING is not $want"
[[ $(timeout 5 xclip -selection clipboard -t STRING -o) == "$want" ]] || fail "STRING is not $want"
timeout 5 xclip -selection clipboard -t TARGETS -o | grep -qx 'text/plain;charset=utf-8' || fail "no text/plain target"

# Arrows before a selection aim the pointer; Return presses and releases;
# with a selection they move it, Ctrl grows it; Return finishes.
start_app --print-geometry --no-window-snap
steps "mousemove 50 50" "key Right" "key Right" "key Right" "key Return" "key shift+Right" "key shift+Right" \
      "key Down" "key Down" "key Return"
[[ $(xdotool getmouselocation --shell | head -2 | tr '\n' ' ') == "X=73 Y=52 " ]] || fail "the pointer is not at (73, 52)"
steps "key Right" "key ctrl+Down" "key Return"
expect_end "20x3+54+50"

# A mouse drag moved by whole pixels, then copied: the clipboard holds exactly those pixels.
start_app --print-geometry
steps "mousemove 300 300" "mousedown 1" "mousemove 350 320" "mousemove 400 350" "mouseup 1" "mousemove 500 400" \
      "key Right" "key Right" "key shift+Down" "key ctrl+c"
expect_end "100x50+302+310"
timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_TMP/clip.png" || fail "no picture on the clipboard"
convert "$E2E_TMP/root.png" -crop 100x50+302+310 +repage "$E2E_TMP/expect.png"
[[ $(compare -metric AE "$E2E_TMP/clip.png" "$E2E_TMP/expect.png" null: 2>&1) == 0 ]] || fail "the moved selection's pixels differ"

# --region writes the exact pixels at once and prints them.
"$BUILD/regioncap" --region 10,20,30,40 --output "$E2E_TMP/区域.png" --print-geometry >"$E2E_TMP/out.txt" 2>"$E2E_TMP/app.log" ||
  fail "--region failed: $(cat "$E2E_TMP/app.log")"
[[ $(cat "$E2E_TMP/out.txt") == "30x40+10+20" ]] || fail "--region printed '$(cat "$E2E_TMP/out.txt")'"
convert "$E2E_TMP/root.png" -crop 30x40+10+20 +repage "$E2E_TMP/expect.png"
[[ $(compare -metric AE "$E2E_TMP/区域.png" "$E2E_TMP/expect.png" null: 2>&1) == 0 ]] || fail "--region pixels differ"
"$BUILD/regioncap" --region 10,20,0,40 2>/dev/null
[[ $? == 2 ]] || fail "a bad --region is not exit code 2"

# The frame of window $1 as WxH+X+Y: its outer rectangle, widened by the
# frame extents a window manager gives it.
frame_of() {
  local x y w h l=0 r=0 t=0 b=0 extents
  x=$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print $4}')
  y=$(xwininfo -id "$1" | awk '/Absolute upper-left Y/ {print $4}')
  w=$(xwininfo -id "$1" | awk '/Width:/ {print $2}')
  h=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | grep -o '[0-9, ]*$' | tr -d ' ')
  [[ -n $extents ]] && IFS=, read -r l r t b <<<"$extents"
  echo "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))"
}

# A click on a window (the smaller one above the larger) selects its frame.
check_click_on_window() {
  "$MAKE_WINDOW" 100 80 300 250 >"$E2E_TMP/big.id" &
  local big=$!
  sleep 0.5
  "$MAKE_WINDOW" 200 150 120 90 >"$E2E_TMP/small.id" &
  local small=$!
  sleep 1
  local want_small want_big
  want_small=$(frame_of "$(cat "$E2E_TMP/small.id")")
  want_big=$(frame_of "$(cat "$E2E_TMP/big.id")")
  start_app --print-geometry
  steps "mousemove 250 190" "click 1" "key Return"
  expect_end "$want_small"
  start_app --print-geometry
  steps "mousemove 120 300" "click 1" "key Return"
  expect_end "$want_big"
  start_app --print-geometry
  steps "mousemove 600 20" "click 1" "key Return"
  expect_end "640x480+0+0"
  kill "$big" "$small"
  wait "$big" "$small" 2>/dev/null
}

check_click_on_window
openbox --sm-disable >/dev/null 2>&1 &
WM=$!
sleep 1
check_click_on_window
kill "$WM"
echo "PASS: keys, colour copy, window snapping and the command line work on X11"
