#!/usr/bin/env bash
# Under sway with two outputs, the second at scale 2: both are dimmed, the
# pointer on the second lands on its own pixels, and a selection there
# puts those pixels, at full resolution, on the clipboard.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
convert -seed 7 -size 800x600 plasma: "$WL_TMP/desk1.png" || fail "cannot make the desktop pictures"
convert -seed 9 -size 1280x720 plasma: "$WL_TMP/desk2.png"
chmod 644 "$WL_TMP/desk2.png"
start_sway "$WL_TMP/desk1.png"
swaymsg -q create_output || fail "cannot add an output"
place_output HEADLESS-1 800x600 1 0 0
place_output HEADLESS-2 1280x720 2 800 0
swaymsg -q output HEADLESS-2 bg "$WL_TMP/desk2.png" fill
# The logical layout: 800 x 600, then 640 x 360 beside it.
start_pointer 1440 600
pointer "move 20 20"
sleep 0.5
settle_screen
screen_to "$WL_TMP/plain1.png" HEADLESS-1
screen_to "$WL_TMP/plain2.png" HEADLESS-2

start_app
read -r r g b < <(file_pixel "$WL_TMP/plain1.png" 400 300)
GRIM_OUTPUT=HEADLESS-1 wait_for_pixel 400 300 "$(dim "$r" "$g" "$b")" "the first output dimmed"
read -r r g b < <(file_pixel "$WL_TMP/plain2.png" 1279 719)
GRIM_OUTPUT=HEADLESS-2 wait_for_pixel 1279 719 "$(dim "$r" "$g" "$b")" "the second output dimmed to its corner"

# Logical (900, 50) to (1000, 150) is (200, 100) to (400, 300) of the
# second output's pixels.
pointer "move 900 50" "down left" "move 950 100" "move 1000 150" "up left"
read -r r g b < <(file_pixel "$WL_TMP/plain2.png" 300 200)
GRIM_OUTPUT=HEADLESS-2 wait_for_pixel 300 200 "$r $g $b" "the clear selection"
pointer "move 950 100" "click left" "click left"
wait_app 20 || fail "regioncap still running two seconds after the double-click"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing"
timeout 5 wl-paste -t image/png >"$WL_TMP/clip.png" || fail "wl-paste cannot read image/png"
same_piece "$WL_TMP/clip.png" 200 200 "$WL_TMP/plain2.png" 200 100
echo "PASS: two outputs at scales 1 and 2 under sway"
