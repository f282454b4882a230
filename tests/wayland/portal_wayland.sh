#!/usr/bin/env bash
# The route for desktops without the wlroots protocols (GNOME, KDE), taken
# under sway by force: the snapshot through the screenshot portal, the
# overlay as a fullscreen xdg_toplevel. The selection on the clipboard
# equals the screen's pixels. Without a portal on the bus, or without a
# bus, the program ends with one line and code 1 and leaves the screen as
# it was; so it does when the portal refuses or returns no PNG. With a
# second output at scale 2, the portal's picture comes at scale 2 and that
# output's pixels still arrive exactly.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
source "$(dirname "$0")/portal_lib.sh"
need_portal_programs
convert -seed 11 -size 800x600 plasma: "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 800x600 1 0 0
start_pointer 800 600
pointer "move 20 20"
sleep 0.5
settle_screen
screen_to "$WL_TMP/plain.png"
export REGIONCAP_WAYLAND_SNAPSHOT=portal REGIONCAP_WAYLAND_OVERLAY=toplevel
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 400 300)
plain="$r $g $b"
dimmed=$(dim "$r" "$g" "$b")

# Runs regioncap and expects code 1 with one stderr line matching $1, and
# the screen as it was.
expect_one_line() {
  timeout 10 "$BUILD/regioncap" --no-window-snap 2>"$WL_TMP/err"
  local code=$?
  [[ $code == 1 ]] || fail "exit code $code (expected 1): $(cat "$WL_TMP/err")"
  [[ $(wc -l <"$WL_TMP/err") == 1 ]] || fail "not one line: $(cat "$WL_TMP/err")"
  grep -q -- "$1" "$WL_TMP/err" || fail "unexpected message: $(cat "$WL_TMP/err")"
  [[ $(screen_pixel 400 300) == "$plain" ]] || fail "something stayed on the screen after: $(cat "$WL_TMP/err")"
}

# A bus on which no service can start: no portal there.
cat >"$WL_TMP/bare-bus.conf" <<CONF
<busconfig>
  <type>session</type>
  <listen>unix:dir=$WL_TMP</listen>
  <auth>EXTERNAL</auth>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
CONF
start_bus "$WL_TMP/bare-bus.conf"
expect_one_line "^regioncap: .*Wayland: no screenshot portal on the session bus"

# A stand-in portal that answers Screenshot with response $1 (and URI $2).
fake_portal() {
  "$(tool fake_portal)" "$@" >"$WL_TMP/fake.out" 2>&1 &
  FAKE_PID=$!
  for _ in $(seq 50); do
    grep -q ready "$WL_TMP/fake.out" && return 0
    sleep 0.1
  done
  fail "the stand-in portal did not start: $(cat "$WL_TMP/fake.out")"
}
fake_portal 2
expect_one_line "^regioncap: .*Wayland: the screenshot portal refused the screenshot (response 2)"
kill "$FAKE_PID"; wait "$FAKE_PID" 2>/dev/null
fake_portal 0 "file://$WL_TMP/bare-bus.conf"
expect_one_line "^regioncap: .*Wayland: the screenshot portal's picture .* is no PNG"
kill "$FAKE_PID"; wait "$FAKE_PID" 2>/dev/null
stop_portal
DBUS_SESSION_BUS_ADDRESS=unix:path=$WL_TMP/no-bus expect_one_line "^regioncap: .*Wayland: no D-Bus session bus"

start_portal
start_app
wait_for_pixel 400 300 "$dimmed" "the dimmed desktop"
swaymsg -t get_tree | grep -q '"app_id": "regioncap"' || fail "the overlay is not an xdg_toplevel"
pointer "move 100 100" "down left" "move 200 150" "move 300 200" "up left"
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 250 180)
wait_for_pixel 250 180 "$r $g $b" "the clear selection"
pointer "move 200 150" "click left" "click left"
wait_app 30 || fail "regioncap still running three seconds after the double-click"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing"
timeout 5 wl-paste -t image/png >"$WL_TMP/clip.png" || fail "wl-paste cannot read image/png"
same_piece "$WL_TMP/clip.png" 200 100 "$WL_TMP/plain.png" 100 100
wait_for_pixel 400 300 "$plain" "the desktop after finishing"

# Logical layout: 800 x 600, then 640 x 360 beside it at scale 2.
convert "$WL_TMP/desk.png" -flop -resize 1280x720! "$WL_TMP/desk2.png" && chmod 644 "$WL_TMP/desk2.png"
swaymsg -q create_output || fail "cannot add an output"
place_output HEADLESS-2 1280x720 2 800 0
swaymsg -q output HEADLESS-2 bg "$WL_TMP/desk2.png" fill
kill "$PTR_PID" && wait "$PTR_PID" 2>/dev/null
start_pointer 1440 600
settle_screen
screen_to "$WL_TMP/plain2.png" HEADLESS-2
start_app
read -r r g b < <(file_pixel "$WL_TMP/plain2.png" 1000 300)
GRIM_OUTPUT=HEADLESS-2 wait_for_pixel 1000 300 "$(dim "$r" "$g" "$b")" "the second output dimmed"
[[ $(swaymsg -t get_tree | grep -c '"app_id": "regioncap"') == 2 ]] || fail "not one toplevel per output"
# Logical (900, 50) to (1000, 150) is (200, 100) to (400, 300) of the
# second output's pixels.
pointer "move 900 50" "down left" "move 950 100" "move 1000 150" "up left"
read -r r g b < <(file_pixel "$WL_TMP/plain2.png" 300 200)
GRIM_OUTPUT=HEADLESS-2 wait_for_pixel 300 200 "$r $g $b" "the clear selection"
pointer "move 950 100" "click left" "click left"
wait_app 30 || fail "regioncap still running three seconds after the double-click"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing on the second output"
timeout 5 wl-paste -t image/png >"$WL_TMP/clip2.png" || fail "wl-paste cannot read image/png"
same_piece "$WL_TMP/clip2.png" 200 200 "$WL_TMP/plain2.png" 200 100
echo "PASS: the portal's snapshot under fullscreen toplevels, at scales 1 and 2, and its failures"
