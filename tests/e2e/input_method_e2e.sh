#!/usr/bin/env bash
# Typing into a text box through a real X input method (uim's XIM bridge,
# which offers over-the-spot): the text arrives, and the input method hears
# where the caret is each time it moves, so its windows can follow it.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
command -v uim-xim >/dev/null || fail "uim-xim is not installed (scripts/setup)"

# An input method serves only the locales it names; a Chinese one is made
# here rather than asked of the machine.
mkdir -p "$E2E_TMP/locale"
localedef -i zh_CN -f UTF-8 "$E2E_TMP/locale/zh_CN.UTF-8" 2>"$E2E_TMP/localedef.log" ||
  fail "cannot make the zh_CN.UTF-8 locale: $(cat "$E2E_TMP/localedef.log")"
# Given to the input method and the program only: this shell keeps its own.
IM_ENV=(LOCPATH="$E2E_TMP/locale" LC_ALL=zh_CN.UTF-8 XMODIFIERS=@im=uim)
export XDG_CONFIG_HOME=$E2E_TMP/config

start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
env "${IM_ENV[@]}" stdbuf -o0 -e0 uim-xim --engine=direct --trace-xim >"$E2E_TMP/xim.log" 2>&1 &
IM_PID=$!
trap 'kill "$IM_PID" 2>/dev/null; cleanup' EXIT
for _ in $(seq 50); do
  xprop -root XIM_SERVERS 2>/dev/null | grep -q '@server=uim' && break
  sleep 0.1
done
xprop -root XIM_SERVERS | grep -q '@server=uim' || fail "uim-xim did not start: $(cat "$E2E_TMP/xim.log")"

xdotool mousemove 20 20
env "${IM_ENV[@]}" "$BUILD/regioncap" --no-window-snap 2>"$E2E_TMP/app.log" &
APP_PID=$!
wait_for_pixel 600 400 "$(dimmed 600 400)" "dimmed screen at start"
steps "mousemove 100 100" "mousedown 1" "mousemove 300 150" "mousemove 500 300" "mouseup 1"
wait_for_pixel 180 308 "222 238 255" "toolbar background"
grep -q 'XIM_CREATE_IC\.' "$E2E_TMP/xim.log" || fail "regioncap never made an input context with uim"
steps "mousemove $((171 + 17 + 26 * 4)) 318" "click 1" "mousemove 180 150" "click 1"
import -window root "$E2E_TMP/empty.png" || fail "cannot read the overlay"
spots_before=$(grep -c 'XIM_SET_IC_VALUES\.' "$E2E_TMP/xim.log")
xdotool type --delay 80 "Hi"
xdotool key Return
xdotool type --delay 80 "x"
sleep 0.5
import -window root "$E2E_TMP/typed.png" || fail "cannot read the overlay"
kill -0 "$APP_PID" 2>/dev/null || fail "regioncap ended while typing: $(cat "$E2E_TMP/app.log")"

spots=$(( $(grep -c 'XIM_SET_IC_VALUES\.' "$E2E_TMP/xim.log") - spots_before ))
(( spots >= 4 )) || fail "the input method heard of the caret $spots times for 4 moves"
convert "$E2E_TMP/empty.png" -crop 80x50+180+150 +repage "$E2E_TMP/a.png"
convert "$E2E_TMP/typed.png" -crop 80x50+180+150 +repage "$E2E_TMP/b.png"
changed=$(compare -metric AE "$E2E_TMP/a.png" "$E2E_TMP/b.png" null: 2>&1)
(( changed > 40 )) || fail "the typed text did not arrive through the input method ($changed pixels changed)"
# The first Escape commits the box, the second puts the tool away, the third ends.
steps "key Escape" "key Escape" "key Escape"
wait_exit "$APP_PID" 50 || fail "regioncap still running after Escape"
APP_PID=
echo "PASS: text through uim, caret spot sent $spots times"
