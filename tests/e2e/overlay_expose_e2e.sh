#!/usr/bin/env bash
# A window laid over the overlay and taken away again leaves nothing behind:
# the overlay shows the dimmed desktop there again - with shared memory and
# without it (where the program itself must present what the server lost).
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
COVER=$(tool cover_window) || exit 1
POINTS=(200 150 260 200 319 249 120 100)

run_case() {
  local label=$1
  shift
  start_xvfb "$@"
  "$PAINT_ROOT" || fail "$label: cannot paint the root window"
  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  wait_for_pixel 10 10 "$(dimmed 10 10)" "$label: the dimmed overlay"
  "$COVER" 150 100 170 150 300 || fail "$label: cannot show the covering window"
  for ((i = 0; i < ${#POINTS[@]}; i += 2)); do
    wait_for_pixel "${POINTS[i]}" "${POINTS[i + 1]}" "$(dimmed "${POINTS[i]}" "${POINTS[i + 1]}")" \
      "$label: the overlay where the window was"
  done
  xdotool key Escape
  wait_exit "$APP_PID" 20 || fail "$label: regioncap still running after Escape"
  APP_PID=
  stop_xvfb
  echo "ok: $label"
}

run_case "shared memory"
run_case "no shared memory" -extension MIT-SHM
