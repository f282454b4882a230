#!/usr/bin/env bash
# Under sway: C copies the colour under the cross-hair as text and ends
# with 0; the text stays on the clipboard after the program, under every
# text type, through data-control and through the data device.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
convert -seed 5 -size 400x300 plasma: "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 400x300 1 0 0
start_pointer 400 300
pointer "move 20 20"
settle_screen
screen_to "$WL_TMP/plain.png"
# The readout is the pixel under the cross-hair's crossing, one row above
# the pointer.
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 200 149)

# $1: the clipboard route forced, or empty; the keys after it are typed.
copy_colour() {
  local route=$1
  shift
  REGIONCAP_WAYLAND_CLIPBOARD=$route start_app
  read -r pr pg pb < <(file_pixel "$WL_TMP/plain.png" 300 250)
  wait_for_pixel 300 250 "$(dim "$pr" "$pg" "$pb")" "the dimmed desktop"
  pointer "move 200 150"
  wtype -s 50 "$@"
  wait_app 30 || fail "${route:-data-control}: regioncap still running after C"
  [[ $EXIT_CODE == 0 ]] || fail "${route:-data-control}: exit code $EXIT_CODE after C"
}

# $1: what each text type must give; $2: the route, for the messages.
expect_text() {
  local mime
  for mime in text/plain 'text/plain;charset=utf-8' UTF8_STRING STRING TEXT; do
    [[ $(timeout 5 wl-paste -n -t "$mime") == "$1" ]] || fail "$2: $mime is '$(timeout 5 wl-paste -n -t "$mime")', expected $1"
  done
}

copy_colour "" c
expect_text "$r,$g,$b" data-control
copy_colour data-device -k Tab c
expect_text "$(printf '#%02X%02X%02X' "$r" "$g" "$b")" data-device
# As on GNOME: a fullscreen toplevel overlay, the data device.
REGIONCAP_WAYLAND_OVERLAY=toplevel copy_colour data-device c
expect_text "$r,$g,$b" "data-device on a toplevel"
# Without input to quote (a --region capture) the data device cannot take
# the clipboard: one line and exit 1, never a silent success.
REGIONCAP_WAYLAND_CLIPBOARD=data-device start_app --region 10,10,20,20
wait_app 30 || fail "--region through the data device still running"
[[ $EXIT_CODE == 1 ]] || fail "--region through the data device ended with $EXIT_CODE, expected 1"
grep -q "Wayland: the compositor did not give regioncap the clipboard" "$WL_TMP/app.log" || fail "no reason given: $(cat "$WL_TMP/app.log")"
echo "PASS: the colour under the cross-hair is on the clipboard as text after the program"
