#!/usr/bin/env bash
# Screens of depth 15, 16, 24 and 30 are read and copied right; an 8-bit
# colour-mapped screen cannot be read, and the program says so in one line
# and ends with code 1 instead of showing a black overlay.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1

# Drags (100, 100)-(300, 200), finishes, and compares the clipboard with
# the screen as the server gives it (within the depth's rounding).
check_depth() {
  start_xvfb -screen 0 "640x480x$1"
  "$PAINT_ROOT" || fail "depth $1: cannot paint the root window"
  import -window root "$E2E_TMP/root.png" || fail "depth $1: cannot read the root window"
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  sleep 1
  steps "mousemove 100 100" "mousedown 1" "mousemove 200 150" "mousemove 300 200" "mouseup 1" "mousemove 200 150"
  xdotool click --repeat 2 --delay 80 1
  wait_exit "$APP_PID" 20 || fail "depth $1: still running after the double-click"
  APP_PID=
  [[ $EXIT_CODE == 0 ]] || fail "depth $1: exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
  timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_TMP/clip.png" || fail "depth $1: no picture"
  convert "$E2E_TMP/root.png" -crop 200x100+100+100 +repage "$E2E_TMP/expect.png"
  local differ
  differ=$(compare -metric AE -fuzz 3% "$E2E_TMP/clip.png" "$E2E_TMP/expect.png" null: 2>&1)
  [[ $differ == 0 ]] || fail "depth $1: the picture differs from the screen in $differ pixels"
  echo "ok: depth $1"
  stop_xvfb
}

for depth in 15 16 24 30; do check_depth "$depth"; done

start_xvfb -screen 0 640x480x8
timeout 10 "$BUILD/regioncap" 2>"$E2E_TMP/err" >/dev/null
code=$?
[[ $code == 1 ]] || fail "8-bit screen: exit code $code, expected 1: $(cat "$E2E_TMP/err")"
[[ $(wc -l <"$E2E_TMP/err") == 1 ]] || fail "8-bit screen: not one line on stderr: $(cat "$E2E_TMP/err")"
grep -q "无法读取屏幕画面：X11: the screen is 8-bit PseudoColor" "$E2E_TMP/err" || fail "8-bit screen: $(cat "$E2E_TMP/err")"
echo "ok: depth 8 -> $(cat "$E2E_TMP/err")"
echo "PASS: screens of depth 15, 16, 24 and 30 work; an 8-bit screen is a clear error"
