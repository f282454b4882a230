#!/usr/bin/env bash
# The overlay comes up over the whole screen showing the desktop dimmed
# (each channel c becomes c * 127 / 255, rounded), and Escape ends the
# program at once with exit code 0 - with shared memory and without it.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PAINT_ROOT=$(tool paint_root) || exit 1
READ_PIXEL=$(tool read_pixel) || exit 1
POINTS=(0 0 10 10 100 240 330 470 600 50 639 479 415 200)

expected_plain=()
expected_dim=()
for ((i = 0; i < ${#POINTS[@]}; i += 2)); do
  read -r r g b < <("$PAINT_ROOT" --at 640 480 "${POINTS[i]}" "${POINTS[i + 1]}")
  expected_plain+=("$r $g $b")
  expected_dim+=("$(div255 $((r * 127))) $(div255 $((g * 127))) $(div255 $((b * 127)))")
done

read_points() { "$READ_PIXEL" "${POINTS[@]}"; }

wait_for_dimmed_screen() {
  for _ in $(seq 100); do
    mapfile -t actual < <(read_points)
    [[ "${actual[*]}" == "${expected_dim[*]}" ]] && return 0
    kill -0 "$APP_PID" 2>/dev/null || fail "$1: regioncap ended early: $(cat "$E2E_TMP/app.log")"
    sleep 0.1
  done
  fail "$1: no dimmed overlay; screen shows: ${actual[*]}; expected ${expected_dim[*]}"
}

run_case() {
  local label=$1
  shift
  start_xvfb "$@"
  "$PAINT_ROOT" || fail "$label: cannot paint the root window"
  mapfile -t actual < <(read_points)
  [[ "${actual[*]}" == "${expected_plain[*]}" ]] || fail "$label: the desktop picture is not in place: ${actual[*]}"

  "$BUILD/regioncap" 2>"$E2E_TMP/app.log" &
  APP_PID=$!
  wait_for_dimmed_screen "$label"
  xdotool key Escape
  wait_exit "$APP_PID" 10 || fail "$label: regioncap still running a second after Escape"
  APP_PID=
  [[ $EXIT_CODE == 0 ]] || fail "$label: exit code $EXIT_CODE after Escape: $(cat "$E2E_TMP/app.log")"
  [[ ! -s $E2E_TMP/app.log ]] || fail "$label: unexpected output: $(cat "$E2E_TMP/app.log")"
  stop_xvfb
  echo "ok: $label"
}

run_case "shared memory"
run_case "no shared memory" -extension MIT-SHM
echo "PASS: dimmed overlay shown, Escape ended it with exit code 0"
