#!/usr/bin/env bash
# Finishing puts the clean selected pixels on the clipboard and ends the
# program at once; the picture is still served after it has gone, to any
# client, in PNG and BMP, small or screen-sized (sent in INCR chunks).
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
import -window root "$E2E_TMP/root.png" || fail "cannot read the root window"

# Drags from ($1, $2) to ($3, $4) and double-clicks inside; the program
# must end with code 0 within a second of the double-click.
select_and_finish() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  sleep 1
  for step in "mousemove $1 $2" "mousedown 1" "mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))" \
              "mousemove $3 $4" "mouseup 1" "mousemove $(( ($1 + $3) / 2 )) $(( ($2 + $4) / 2 ))"; do
    xdotool $step
    sleep 0.2
  done
  xdotool click --repeat 2 --delay 80 1
  wait_exit "$APP_PID" 10 || fail "regioncap still running a second after the double-click"
  APP_PID=
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
}

# The clipboard as $1 must hold exactly the $2 x $3 piece of the desktop at ($4, $5).
check_clipboard() {
  local file="$E2E_TMP/clip.$RANDOM"
  timeout 10 xclip -selection clipboard -t "$1" -o >"$file" || fail "xclip cannot read $1"
  [[ $(identify -format '%wx%h' "$file") == "$2x$3" ]] || fail "$1 is $(identify -format '%wx%h' "$file"), expected $2x$3"
  convert "$E2E_TMP/root.png" -crop "$2x$3+$4+$5" +repage "$E2E_TMP/expect.png"
  local differ
  differ=$(compare -metric AE "$file" "$E2E_TMP/expect.png" null: 2>&1)
  [[ $differ == 0 ]] || fail "$1 differs from the desktop in $differ pixels"
}

select_and_finish 100 100 300 200
targets=$(timeout 10 xclip -selection clipboard -t TARGETS -o) || fail "no TARGETS"
grep -qx image/png <<<"$targets" || fail "image/png not offered: $targets"
check_clipboard image/png 200 100 100 100
sleep 3
check_clipboard image/png 200 100 100 100
check_clipboard image/bmp 200 100 100 100

# A selection of nearly the whole screen: the BMP is far larger than one
# property may be, so it travels in INCR chunks.
select_and_finish 0 0 639 479
check_clipboard image/bmp 639 479 0 0
check_clipboard image/png 639 479 0 0

# Our clipboard owners on this display: once the program has ended, the
# only processes of its executable left are the owners it started.
owners() {
  local exe pid
  exe=$(readlink -f "$BUILD/regioncap")
  for pid in $(ls /proc | grep -E '^[0-9]+$'); do
    [[ $(readlink -f "/proc/$pid/exe" 2>/dev/null) == "$exe" ]] || continue
    grep -qzx "DISPLAY=$DISPLAY" "/proc/$pid/environ" 2>/dev/null && echo "$pid"
  done
}
[[ $(owners | wc -l) == 1 ]] || fail "expected one clipboard owner, found: $(owners)"

# Another owner takes the clipboard: ours lets go and ends.
echo text | xclip -selection clipboard -i >/dev/null 2>&1
sleep 0.5
[[ $(timeout 5 xclip -selection clipboard -o) == text ]] || fail "the clipboard did not pass to the new owner"
[[ -z $(owners) ]] || fail "the clipboard owner is still running after losing the selection"
echo "PASS: the clipboard holds the clean selection after the program has ended"
