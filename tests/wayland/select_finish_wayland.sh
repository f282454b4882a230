#!/usr/bin/env bash
# Under sway: the overlay dims every pixel; a drag selects, a double-click
# finishes, and the clean selected pixels are on the clipboard as PNG and
# BMP, still after the program has ended; Escape and a right-click abandon
# with code 0 and leave nothing on the screen.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
convert -seed 7 -size 800x600 plasma: "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 800x600 1 0 0
start_pointer 800 600
pointer "move 20 20"
sleep 0.5
settle_screen
screen_to "$WL_TMP/plain.png"

start_app
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 400 300)
wait_for_pixel 400 300 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 799 599)
wait_for_pixel 799 599 "$(dim "$r" "$g" "$b")" "the dimmed corner"

pointer "move 100 100" "down left" "move 200 150" "move 300 200" "up left"
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 250 180)
wait_for_pixel 250 180 "$r $g $b" "the clear selection"
pointer "move 200 150" "click left" "click left"
wait_app 20 || fail "regioncap still running two seconds after the double-click"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing"

timeout 5 wl-paste -l >"$WL_TMP/types" || fail "the clipboard is empty"
grep -qx image/png "$WL_TMP/types" || fail "image/png not offered: $(cat "$WL_TMP/types")"
timeout 5 wl-paste -t image/png >"$WL_TMP/clip.png" || fail "wl-paste cannot read image/png"
same_piece "$WL_TMP/clip.png" 200 100 "$WL_TMP/plain.png" 100 100
sleep 2
timeout 5 wl-paste -t image/bmp >"$WL_TMP/clip.bmp" || fail "wl-paste cannot read image/bmp"
convert "$WL_TMP/clip.bmp" "$WL_TMP/clip-bmp.png"
same_piece "$WL_TMP/clip-bmp.png" 200 100 "$WL_TMP/plain.png" 100 100
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 400 300)
wait_for_pixel 400 300 "$r $g $b" "the desktop after finishing"

# Another client takes the clipboard: ours lets go.
echo text | wl-copy
[[ $(timeout 5 wl-paste) == text ]] || fail "the clipboard did not pass to the new owner"

# Escape, then a right-click with no selection: both abandon.
start_app
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 400 300)
wait_for_pixel 400 300 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
wtype -s 50 -k Escape
wait_app 20 || fail "regioncap still running after Escape"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after Escape"
wait_for_pixel 400 300 "$r $g $b" "the desktop after Escape"

start_app
wait_for_pixel 400 300 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
pointer "move 400 300" "click right"
wait_app 20 || fail "regioncap still running after a right-click"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after a right-click"
echo "PASS: capture, clipboard and abandon under sway"
