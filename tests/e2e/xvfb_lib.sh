# Shared by the end-to-end scripts: a private Xvfb and small checks.
# Source it, then call start_xvfb; cleanup runs on exit.

E2E_TMP=$(mktemp -d)
# The screen start_xvfb makes, width x height; a script may set it first.
SCREEN_SIZE=${SCREEN_SIZE:-640x480}
XVFB_PID=
APP_PID=

cleanup() {
  [[ -n $APP_PID ]] && kill "$APP_PID" 2>/dev/null
  [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Starts Xvfb on a display number the server picks itself (no race with
# other servers) and exports DISPLAY once it accepts connections. Without
# -noreset the server would forget the painted desktop as soon as the
# painting client left.
# Extra arguments go to Xvfb ("-extension MIT-SHM" turns shared memory off).
start_xvfb() {
  rm -f "$E2E_TMP/display"
  Xvfb -displayfd 3 -screen 0 "${SCREEN_SIZE}x24" -nolisten tcp -noreset "$@" 3>"$E2E_TMP/display" 2>"$E2E_TMP/xvfb.log" &
  XVFB_PID=$!
  for _ in $(seq 100); do
    [[ -s $E2E_TMP/display ]] && break
    sleep 0.1
  done
  [[ -s $E2E_TMP/display ]] || fail "Xvfb did not start: $(cat "$E2E_TMP/xvfb.log")"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
}

stop_xvfb() {
  kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}

# Waits up to $2 tenths of a second for our child $1 to end and puts its
# exit code in EXIT_CODE; fails when it is still running. (Not to be called
# in a $(...) subshell: only this shell can collect the child's status.)
wait_exit() {
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$1" 2>/dev/null && return 1
  wait "$1"
  EXIT_CODE=$?
}

# The helper program $1 built beside the tests.
tool() {
  local dir
  for dir in "$BUILD/tests" "$BUILD"; do
    [[ -x $dir/$1 ]] && { echo "$dir/$1"; return; }
  done
  fail "helper $1 is not built"
}

# x / 255 rounded to nearest, exactly as the program's blends round.
div255() { echo $(( ($1 + 128 + (($1 + 128) >> 8)) >> 8 )); }

# --- Pixel checks against the picture paint_root puts on the desktop --------
# They need PAINT_ROOT and READ_PIXEL (the helpers' paths), and APP_PID and
# $E2E_TMP/app.log for the program under test.

# The desktop's own pixel at ($1, $2): "r g b".
plain() { "$PAINT_ROOT" --at "${SCREEN_SIZE%x*}" "${SCREEN_SIZE#*x}" "$1" "$2"; }

# The same pixel as the dimmed overlay shows it.
dimmed() {
  local r g b
  read -r r g b < <(plain "$1" "$2")
  echo "$(div255 $((r * 127))) $(div255 $((g * 127))) $(div255 $((b * 127)))"
}

# Waits up to 5 s for the screen at ($1, $2) to show $3; $4 says what that is.
wait_for_pixel() {
  local now
  for _ in $(seq 50); do
    now=$("$READ_PIXEL" "$1" "$2")
    [[ $now == "$3" ]] && return 0
    kill -0 "$APP_PID" 2>/dev/null || fail "regioncap ended early: $(cat "$E2E_TMP/app.log")"
    sleep 0.1
  done
  fail "($1, $2) shows $now, expected $3 ${4:+($4)}"
}

# Runs xdotool steps one by one. The program reads the pointer when it
# handles a message, so each step waits for the previous one to be handled.
steps() {
  for step in "$@"; do
    xdotool $step
    sleep 0.15
  done
}
