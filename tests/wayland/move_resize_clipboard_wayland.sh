#!/usr/bin/env bash
# Under sway: a selection dragged out, moved and resized with the pointer,
# then finished, leaves exactly its pixels on the clipboard as PNG and BMP,
# still there after the program has ended with 0: once through
# data-control, once through the data device (what GNOME and KDE offer).
# Either owner keeps little of the program's memory (not the 8 MB snapshot,
# back buffer and shared buffers of this 1080p screen), and the data
# device's owner lets go when another client takes the clipboard.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
convert -seed 11 -size 480x270 plasma: -scale 1920x1080 "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 1920x1080 1 0 0
start_pointer 1920 1080
pointer "move 20 20"
settle_screen
screen_to "$WL_TMP/plain.png"

# $1: the clipboard route forced, or empty for the compositor's choice.
capture_moved_and_resized() {
  REGIONCAP_WAYLAND_CLIPBOARD=$1 start_app
  read -r r g b < <(file_pixel "$WL_TMP/plain.png" 960 540)
  wait_for_pixel 960 540 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
  pointer "move 100 100" "down left" "move 200 150" "move 300 200" "up left"
  # Move: the first step takes hold, then the selection follows by (40, 30).
  pointer "move 200 150" "down left" "move 210 150" "move 250 180" "up left"
  # Resize by the right edge, now at x = 340.
  pointer "move 340 180" "down left" "move 350 180" "move 400 180" "up left"
  read -r r g b < <(file_pixel "$WL_TMP/plain.png" 380 140)
  wait_for_pixel 380 140 "$r $g $b" "the clear selection after the resize"
  pointer "move 250 180" "click left" "click left"
  wait_app 30 || fail "${1:-data-control}: regioncap still running three seconds after the double-click"
  [[ $EXIT_CODE == 0 ]] || fail "${1:-data-control}: exit code $EXIT_CODE after finishing"

  timeout 5 wl-paste -t image/png >"$WL_TMP/clip.png" || fail "${1:-data-control}: no image/png after the exit"
  same_piece "$WL_TMP/clip.png" 260 100 "$WL_TMP/plain.png" 140 130
  timeout 5 wl-paste -t image/bmp >"$WL_TMP/clip.bmp" || fail "${1:-data-control}: no image/bmp after the exit"
  convert "$WL_TMP/clip.bmp" "$WL_TMP/clip-bmp.png"
  same_piece "$WL_TMP/clip-bmp.png" 260 100 "$WL_TMP/plain.png" 140 130
}

# The regioncap processes started by this script that are still running
# (the clipboard's owners, once the program has ended), one a line.
owner_dirs() {
  local environ
  for environ in $(grep -lsz "^REGIONCAP_TEST_TAG=$WL_TMP\$" /proc/[0-9]*/environ); do
    [[ $(cat "${environ%/environ}/comm" 2>/dev/null) == regioncap ]] && echo "${environ%/environ}"
  done
}
owners() { owner_dirs | wc -l; }

# The owner's resident memory in kB must stay small; $1 names the route.
small_owner() {
  local rss
  rss=$(awk '/^VmRSS/ { print $2 }' "$(owner_dirs | head -n1)/status")
  (( rss < 12000 )) || fail "$1: the clipboard's owner holds $rss kB"
}

export REGIONCAP_TEST_TAG=$WL_TMP
capture_moved_and_resized ""
small_owner data-control
echo text | wl-copy
capture_moved_and_resized data-device
[[ $(owners) == 1 ]] || fail "$(owners) processes hold the clipboard, expected the data device's owner"
small_owner data-device
echo taken | wl-copy
for _ in $(seq 20); do
  [[ $(owners) == 0 ]] && break
  sleep 0.1
done
[[ $(owners) == 0 ]] || fail "the data device's owner did not end when another client took the clipboard"
[[ $(timeout 5 wl-paste) == taken ]] || fail "the clipboard did not pass to the new owner"
echo "PASS: drag, move, resize and finish to the clipboard, through data-control and the data device"
