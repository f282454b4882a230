#!/usr/bin/env bash
# The process that serves the clipboard after a finish keeps only its
# piece: on a 4K screen, after a 100 x 100 selection, it holds at most
# 10 MB and no shared memory (the snapshot and back buffer are gone with
# the program).
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
start_xvfb -screen 0 3840x2160x24

xdotool mousemove 20 20
"$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
APP_PID=$!
sleep 1.5
steps "mousemove 100 100" "mousedown 1" "mousemove 150 150" "mousemove 200 200" "mouseup 1" "mousemove 150 150"
xdotool click --repeat 2 --delay 80 1
wait_exit "$APP_PID" 30 || fail "regioncap still running after the double-click"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE: $(cat "$E2E_TMP/app.log")"

owner=
exe=$(readlink -f "$BUILD/regioncap")
for pid in $(ls /proc | grep -E '^[0-9]+$'); do
  [[ $(readlink -f "/proc/$pid/exe" 2>/dev/null) == "$exe" ]] || continue
  grep -qzx "DISPLAY=$DISPLAY" "/proc/$pid/environ" 2>/dev/null && owner=$pid
done
[[ -n $owner ]] || fail "no clipboard owner"
timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_TMP/clip.png" || fail "the clipboard cannot be read"
[[ $(identify -format '%wx%h' "$E2E_TMP/clip.png") == 100x100 ]] || fail "the picture is not 100 x 100"
rss=$(awk '/^VmRSS/ {print $2}' "/proc/$owner/status")
echo "owner $owner: VmRSS $rss kB"
(( rss <= 10240 )) || fail "the clipboard owner holds $rss kB"
! grep -q SYSV "/proc/$owner/maps" || fail "the clipboard owner still has shared memory attached"
kill "$owner"
echo "PASS: the clipboard owner keeps only its piece"
