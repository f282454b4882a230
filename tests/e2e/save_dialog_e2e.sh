#!/usr/bin/env bash
# Saving through the desktop's save dialog (GTK's file chooser), driven
# with real keys: the proposed name, the extension of the chosen filter,
# the clean pixels in the file; a cancel returns to the dimmed screen with
# no selection; a write that fails keeps the capture open.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
[[ -e /usr/lib/x86_64-linux-gnu/libgtk-3.so.0 ]] || /sbin/ldconfig -p | grep -q libgtk-3.so.0 ||
  { echo "SKIP: GTK 3 is not installed"; exit 0; }
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
import -window root "$E2E_TMP/root.png" || fail "cannot read the root window"
# With WITH_WINDOW_MANAGER set a window manager runs as well. It stacks the
# dialog among the windows it manages, so the overlay (override-redirect,
# above them all) must step down while the dialog is open.
if [[ -n ${WITH_WINDOW_MANAGER:-} ]]; then
  command -v openbox >/dev/null || fail "openbox is not installed"
  openbox >/dev/null 2>&1 &
  sleep 1
fi
# GTK keeps its settings in memory and starts in our own folder.
export GSETTINGS_BACKEND=memory HOME="$E2E_TMP/home"
mkdir -p "$HOME" "$E2E_TMP/out"
cd "$E2E_TMP/out" || exit 1

# Starts the program and drags out (100, 100)-(400, 250); the toolbar sits
# right-aligned 6 px below it, its save button 181 px from its left.
start_and_select() {
  xdotool mousemove 20 20
  "$BUILD/regioncap" 2>>"$E2E_TMP/app.log" &
  APP_PID=$!
  sleep 1
  for step in "mousemove 100 100" "mousedown 1" "mousemove 250 170" "mousemove 400 250" "mouseup 1"; do
    xdotool $step
    sleep 0.2
  done
}

# The dialog must be seen, not just have the keyboard: the middle of its
# window shows something other than the dimmed desktop.
expect_dialog_visible() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool search --name "保存截图" getwindowgeometry --shell %1)"
  local cx=$(((X + WIDTH / 2) < 639 ? X + WIDTH / 2 : 639)) cy=$(((Y + HEIGHT / 2) < 479 ? Y + HEIGHT / 2 : 479))
  [[ $("$READ_PIXEL" "$cx" "$cy") != "$(dimmed "$cx" "$cy")" ]] || fail "the save dialog is hidden behind the overlay"
}

# Presses the toolbar's save button and waits up to 10 s for the dialog.
open_dialog() {
  xdotool mousemove 252 269
  sleep 0.2
  xdotool click 1
  for _ in $(seq 100); do
    xdotool search --name "保存截图" >/dev/null 2>&1 && { sleep 0.5; expect_dialog_visible; return 0; }
    sleep 0.1
  done
  fail "no save dialog appeared: $(cat "$E2E_TMP/app.log")"
}

# Replaces the proposed name with $1 and confirms. The pointer is first put
# away from the dialog: the dialog has the keyboard wherever the pointer is.
type_name() {
  xdotool mousemove 3 3
  sleep 0.2
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
}

same_as_desktop() {
  convert "$E2E_TMP/root.png" -crop 300x150+100+100 +repage "$E2E_TMP/expect.png"
  local differ
  differ=$(compare -metric AE "$1" "$E2E_TMP/expect.png" null: 2>&1)
  [[ $differ == 0 ]] || fail "$1 differs from the desktop in $differ pixels"
}

# Confirmed: a name with dots gets the first filter's extension in place of
# everything after its first dot, and holds the clean selection as PNG.
start_and_select
open_dialog
type_name "$E2E_TMP/out/shot.b.c"
wait_exit "$APP_PID" 50 || fail "regioncap still running after the save"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after the save"
[[ -f $E2E_TMP/out/shot.png ]] || fail "shot.png not written: $(ls "$E2E_TMP/out")"
[[ $(identify -format %m "$E2E_TMP/out/shot.png") == PNG ]] || fail "shot.png is not a PNG"
same_as_desktop "$E2E_TMP/out/shot.png"

# Cancelled: back to the dimmed screen without a selection, nothing written.
start_and_select
open_dialog
xdotool key Escape
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "regioncap ended after a cancel"
read -r r g b < <("$PAINT_ROOT" --at 640 480 250 170)
expected="$(div255 $((r * 127))) $(div255 $((g * 127))) $(div255 $((b * 127)))"
for _ in $(seq 30); do
  [[ $("$READ_PIXEL" 250 170) == "$expected" ]] && break
  sleep 0.1
done
[[ $("$READ_PIXEL" 250 170) == "$expected" ]] || fail "the selection is still shown after a cancel"
[[ $(ls "$E2E_TMP/out" | wc -l) == 1 ]] || fail "a cancel wrote a file: $(ls "$E2E_TMP/out")"
xdotool key Escape
wait_exit "$APP_PID" 20 || fail "Escape did not end the capture"
APP_PID=

# A write that fails (no file can be made in /proc) keeps the capture: the
# selection is still there to finish.
start_and_select
open_dialog
type_name "/proc/shot"
sleep 1
kill -0 "$APP_PID" 2>/dev/null || fail "regioncap ended after a failed write"
xdotool mousemove 250 170
sleep 0.2
xdotool click --repeat 2 --delay 80 1
wait_exit "$APP_PID" 20 || fail "the selection could not be finished after a failed write"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finishing"
timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_TMP/clip.png" || fail "nothing on the clipboard"
same_as_desktop "$E2E_TMP/clip.png"
echo "PASS: saved through the dialog, cancelled, and kept the capture after a failed write"
