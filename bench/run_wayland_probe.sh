#!/usr/bin/env bash
# Start-up and per-move cost under a headless sway, beside the X11 build on
# Xvfb of the same sizes, in one run. For each size (1920 x 1080, 3840 x 2160)
# it prints one JSON object for Wayland: exec -> dimmed overlay visible
# (polled through screencopy, so within about 20 ms), then the CPU time of
# regioncap and of sway per pointer move over 200 moves of a rubber-band drag
# 8 ms apart (from /proc/PID/stat, in clock ticks); then runs
# bench/run_x11_probe.sh once at the same sizes.
#
#   bench/run_wayland_probe.sh BUILD_DIR
set -u
BUILD=$(cd "${1:?usage: run_wayland_probe.sh BUILD_DIR}" && pwd)
source "$(dirname "$0")/../tests/wayland/sway_lib.sh"
MOVES=200
TICK_MS=$((1000 / $(getconf CLK_TCK)))

cpu_ms() { awk -v t="$TICK_MS" '{ print ($14 + $15) * t }' "/proc/$1/stat"; }
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }

# Exec -> the pixel at (10, 10) shows the dimmed grey, in STARTUP_MS.
# (Not in a $(...) subshell: this shell must know the program's pid.)
measure_startup() {
  local t0 px
  t0=$(now_ms)
  start_app
  for _ in $(seq 500); do
    px=$(grim -g "10,10 1x1" -t ppm - 2>/dev/null | tail -c 3 | od -An -tu1 | tr -s ' ')
    [[ $px == " 64 64 64" ]] && break
    sleep 0.005
  done
  STARTUP_MS=$(($(now_ms) - t0))
}

measure_size() {
  local w=${1%x*} h=${1#*x} sway_pid app0 sway0 app1 sway1 i
  convert -size "$1" xc:'#808080' "$WL_TMP/grey.png"
  start_sway "$WL_TMP/grey.png"
  place_output HEADLESS-1 "$1" 1 0 0
  start_pointer "$w" "$h"
  pointer "move 5 5"
  settle_screen
  sway_pid=$(pgrep -n -x sway)
  measure_startup
  pointer "move $((w / 5)) $((h / 5))" "down left"
  app0=$(cpu_ms "$APP_PID"); sway0=$(cpu_ms "$sway_pid")
  for ((i = 0; i < MOVES; i++)); do
    echo "move $((w / 5 + i * 3)) $((h / 5 + i * 2))" >&"${PTR[1]}"
    read -r -u "${PTR[0]}" _
    sleep 0.008
  done
  sleep 0.3
  app1=$(cpu_ms "$APP_PID"); sway1=$(cpu_ms "$sway_pid")
  pointer "up left"
  wtype -k Escape
  wait_app 50 || kill "$APP_PID"
  printf '{"backend":"wayland","size":"%s","exec_to_overlay_ms":%s,"app_cpu_ms_per_move":%s,"compositor_cpu_ms_per_move":%s}\n' \
    "$1" "$STARTUP_MS" "$(awk -v a="$app0" -v b="$app1" -v n=$MOVES 'BEGIN { printf "%.3f", (b - a) / n }')" \
    "$(awk -v a="$sway0" -v b="$sway1" -v n=$MOVES 'BEGIN { printf "%.3f", (b - a) / n }')"
  [[ -n ${PTR_PID:-} ]] && kill "$PTR_PID" 2>/dev/null
  PTR_PID=
  stop_sway
  rm -rf "$WL_TMP/runtime"
}

measure_size 1920x1080
measure_size 3840x2160
unset WAYLAND_DISPLAY SWAYSOCK
if [[ -x $BUILD/bench/regioncap-x11-probe ]]; then
  RUNS=1 "$(dirname "$0")/run_x11_probe.sh" "$BUILD"
else
  echo "run_wayland_probe: build regioncap-x11-probe for the X11 side" >&2
fi
