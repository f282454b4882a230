#!/usr/bin/env bash
# Saving under sway through GTK's file chooser (GTK on Wayland): the overlay
# steps down so the dialog is seen and gets the keys; the file holds the
# clean selection; a cancel brings the overlay back; a finish after the
# dialog (GTK's threads now running) still leaves the picture on the
# clipboard. The first round runs on the layer shell, the second on the
# fullscreen xdg_toplevel of desktops without it, which steps down by
# unmapping.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
/sbin/ldconfig -p | grep -q libgtk-3.so.0 || { echo "SKIP: GTK 3 is not installed"; exit 0; }
convert -seed 7 -size 1024x640 plasma: "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 1024x640 1 0 0
start_pointer 1024 640
pointer "move 20 20"
sleep 0.5
settle_screen
screen_to "$WL_TMP/plain.png"
# GTK keeps its settings in memory and starts in our own folder.
export GSETTINGS_BACKEND=memory HOME="$WL_TMP/home" NO_AT_BRIDGE=1
mkdir -p "$HOME" "$WL_TMP/out"
cd "$WL_TMP/out" || exit 1

# Starts the program and drags out (100, 100)-(400, 250); the toolbar sits
# right-aligned 6 px below it, its save button 181 px from its left.
start_and_select() {
  start_app
  read -r r g b < <(file_pixel "$WL_TMP/plain.png" 320 400)
  wait_for_pixel 320 400 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
  pointer "move 100 100" "down left" "move 250 170" "move 400 250" "up left"
}

# Presses the save button and waits up to 10 s for the dialog's window,
# which must be seen: the middle of the screen is no longer the dimmed
# desktop.
open_dialog() {
  pointer "move 252 269" "click left"
  for _ in $(seq 100); do
    swaymsg -t get_tree | grep -q '"name": "保存截图"' && break
    sleep 0.1
  done
  swaymsg -t get_tree | grep -q '"name": "保存截图"' || fail "no save dialog appeared"
  sleep 1
  read -r r g b < <(file_pixel "$WL_TMP/plain.png" 320 240)
  [[ $(screen_pixel 320 240) != "$(dim "$r" "$g" "$b")" ]] || fail "the save dialog is hidden behind the overlay"
}

same_as_desktop() { same_piece "$1" 300 150 "$WL_TMP/plain.png" 100 100; }

start_and_select
open_dialog
# The proposed name is selected: typing replaces it. The dialog's own
# Save button confirms (keys like Return go through GTK's key bindings,
# which miss wtype's keymap of the moment).
wtype -s 50 "shot.b.c"
pointer "move 975 22" "click left"
wait_app 50 || fail "regioncap still running after the save"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after the save"
[[ -f $WL_TMP/out/shot.png ]] || fail "shot.png not written: $(ls "$WL_TMP/out")"
same_as_desktop "$WL_TMP/out/shot.png"

# Cancelled: the overlay is back; a finish then still puts the picture on
# the clipboard.
export REGIONCAP_WAYLAND_OVERLAY=toplevel
start_and_select
open_dialog
pointer "move 47 22" "click left"
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "regioncap ended after a cancel"
read -r r g b < <(file_pixel "$WL_TMP/plain.png" 250 170)
wait_for_pixel 250 170 "$(dim "$r" "$g" "$b")" "no selection after a cancel"
pointer "move 100 100" "down left" "move 250 170" "move 400 250" "up left" "move 250 170" "click left" "click left"
wait_app 20 || fail "the capture could not be finished after a cancel"
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing"
timeout 5 wl-paste -t image/png >"$WL_TMP/clip.png" || fail "nothing on the clipboard"
same_as_desktop "$WL_TMP/clip.png"
swaymsg -t get_tree | grep -q '"app_id": "regioncap"' && fail "the overlay's toplevel stayed after the finish"
echo "PASS: saved through the dialog under sway, cancelled, and finished after it"
