#!/usr/bin/env bash
# With no usable font the labels are blank, and one line on stderr says
# what is missing; the capture itself works.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb
mkdir -p "$E2E_TMP/fc-cache"
cat >"$E2E_TMP/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig><dir>$E2E_TMP/no-fonts</dir><cachedir>$E2E_TMP/fc-cache</cachedir></fontconfig>
CONF
mkdir -p "$E2E_TMP/no-fonts"
xdotool mousemove 20 20
FONTCONFIG_FILE="$E2E_TMP/fonts.conf" "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
sleep 1
steps "mousemove 100 100" "mousedown 1" "mousemove 200 200" "mouseup 1" "mousemove 300 300" "key Escape"
wait_exit "$APP_PID" 20 || fail "regioncap still running after Escape"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"
[[ $(wc -l <"$E2E_TMP/app.log") == 1 ]] || fail "not one line on stderr: $(cat "$E2E_TMP/app.log")"
grep -q "font" "$E2E_TMP/app.log" || fail "stderr does not name the font: $(cat "$E2E_TMP/app.log")"
echo "PASS: $(cat "$E2E_TMP/app.log")"
