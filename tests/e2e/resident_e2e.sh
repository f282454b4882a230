#!/usr/bin/env bash
# The resident mode: regioncap --daemon starts a capture at each press of
# Ctrl+Alt+A, each showing the screen as it is at that press; a finished
# capture leaves its pixels on the clipboard and the resident one running.
# One resident per display: a second --daemon exits 1 saying so, --quit ends
# it, a killed one leaves nothing that blocks the next, a shortcut
# another program holds is reported, and the settings file can name another.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
PAINT_SOLID=$(tool paint_solid) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
HOLD_KEY=$(tool hold_key) || exit 1
start_xvfb
"$PAINT_ROOT" || fail "cannot paint the root window"
import -window root "$E2E_TMP/root.png" || fail "cannot read the root window"

# Starts the resident regioncap and waits for it to say it listens.
start_resident() {
  "$BUILD/regioncap" --daemon 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  for _ in $(seq 100); do
    grep -q "Ctrl+Alt+A starts a capture" "$E2E_TMP/app.log" && return 0
    kill -0 "$APP_PID" 2>/dev/null || fail "the resident regioncap ended: $(cat "$E2E_TMP/app.log")"
    sleep 0.1
  done
  fail "the resident regioncap never said it was ready: $(cat "$E2E_TMP/app.log")"
}

# The clipboard as PNG must equal the picture $1.
check_clipboard() {
  timeout 10 xclip -selection clipboard -t image/png -o >"$E2E_TMP/clip.png" || fail "xclip cannot read the clipboard"
  local differ
  differ=$(compare -metric AE "$E2E_TMP/clip.png" "$1" null: 2>&1)
  [[ $differ == 0 ]] || fail "the clipboard differs from the screen in $differ pixels"
}

# Drags from (100, 100) to (300, 200) and double-clicks inside; the capture
# must end, the desktop ($1 at (400, 300)) show again, the resident one run on.
select_and_finish() {
  steps "mousemove 100 100" "mousedown 1" "mousemove 200 150" "mousemove 300 200" "mouseup 1" "mousemove 200 150"
  xdotool click --repeat 2 --delay 80 1
  wait_for_pixel 400 300 "$1" "the desktop after the capture"
}

start_resident
out=$("$BUILD/regioncap" --daemon 2>&1)
code=$?
[[ $code == 1 ]] || fail "a second --daemon exited with $code"
grep -q "already runs" <<<"$out" || fail "a second --daemon said: $out"

# First press: the painted desktop, dimmed; finish puts its pixels on the clipboard.
xdotool mousemove 20 20
xdotool key ctrl+alt+a
wait_for_pixel 400 300 "$(dimmed 400 300)" "the dimmed desktop after the first press"
select_and_finish "$(plain 400 300)"
convert "$E2E_TMP/root.png" -crop 200x100+100+100 +repage "$E2E_TMP/expect1.png"
check_clipboard "$E2E_TMP/expect1.png"

# The desktop changes; the second press must show it as it is now.
"$PAINT_SOLID" 40 200 120 || fail "cannot repaint the root window"
xdotool mousemove 20 20
xdotool key ctrl+alt+a
wait_for_pixel 400 300 "20 100 60" "the new desktop, dimmed, after the second press"
select_and_finish "40 200 120"
convert -size 200x100 xc:'rgb(40,200,120)' "$E2E_TMP/expect2.png"
check_clipboard "$E2E_TMP/expect2.png"

# A capture abandoned with Escape leaves the resident one running too.
xdotool key ctrl+alt+a
wait_for_pixel 400 300 "20 100 60" "the dimmed desktop after the third press"
xdotool key Escape
wait_for_pixel 400 300 "40 200 120" "the desktop after Escape"
kill -0 "$APP_PID" 2>/dev/null || fail "the resident regioncap ended with a capture"

"$BUILD/regioncap" --quit || fail "--quit failed"
wait_exit "$APP_PID" 30 || fail "the resident regioncap still runs after --quit"
APP_PID=
[[ $EXIT_CODE == 0 ]] || fail "the resident regioncap exited with $EXIT_CODE after --quit"
"$BUILD/regioncap" --quit 2>"$E2E_TMP/quit.log" && fail "--quit with none running succeeded"
grep -q "no resident regioncap" "$E2E_TMP/quit.log" || fail "--quit with none running said: $(cat "$E2E_TMP/quit.log")"

# A resident killed outright leaves no lock behind.
start_resident
kill -9 "$APP_PID"
wait "$APP_PID" 2>/dev/null
start_resident
"$BUILD/regioncap" --quit || fail "--quit after a restart failed"
wait_exit "$APP_PID" 30 || fail "the restarted resident still runs after --quit"
APP_PID=

# Another program holds the shortcut: one line says so, exit 1.
"$HOLD_KEY" >"$E2E_TMP/hold.log" &
HOLD_PID=$!
for _ in $(seq 50); do grep -q grabbed "$E2E_TMP/hold.log" && break; sleep 0.1; done
out=$(timeout 10 "$BUILD/regioncap" --daemon 2>&1)
code=$?
kill "$HOLD_PID"
[[ $code == 1 ]] || fail "--daemon with the shortcut taken exited with $code"
[[ $(wc -l <<<"$out") == 1 ]] && grep -q "Ctrl+Alt+A is taken by another program" <<<"$out" ||
  fail "--daemon with the shortcut taken said: $out"
# The settings file names another shortcut: F9 starts the capture, which
# keeps the file's other settings: without window snapping a click selects
# nothing, and the desktop stays dimmed.
mkdir -p "$E2E_TMP/config/regioncap"
printf '# mine\nhotkey = F9\nwindow_snap = false\n' >"$E2E_TMP/config/regioncap/settings.ini"
XDG_CONFIG_HOME="$E2E_TMP/config" "$BUILD/regioncap" --daemon 2>"$E2E_TMP/app.log" &
APP_PID=$!
for _ in $(seq 100); do grep -q "F9 starts a capture" "$E2E_TMP/app.log" && break; sleep 0.1; done
grep -q "F9 starts a capture" "$E2E_TMP/app.log" || fail "the resident said: $(cat "$E2E_TMP/app.log")"
xdotool key F9
wait_for_pixel 400 300 "20 100 60" "the dimmed desktop after F9"
steps "mousemove 400 300" "click 1"
sleep 0.5
now=$("$READ_PIXEL" 400 300)
[[ $now == "20 100 60" ]] || fail "a click with window snapping off shows $now at (400, 300), not the dimmed desktop"
xdotool key Escape
wait_for_pixel 400 300 "40 200 120" "the desktop after Escape"
"$BUILD/regioncap" --quit || fail "--quit of the F9 resident failed"
wait_exit "$APP_PID" 30 || fail "the F9 resident still runs after --quit"
APP_PID=
echo "PASS: the resident mode captures at each press, fresh each time, and keeps one instance"
