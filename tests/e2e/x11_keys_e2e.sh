#!/usr/bin/env bash
# Key presses read through the X server's layout and modifier state: a
# shifted key types its shifted character, a key with Ctrl or Alt types
# nothing, keys without text are keys only - through the built-in input
# method and without any.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"
PROBE=$(tool x11_keys_probe) || exit 1

# Keycodes of the server's standard layout (evdev, US); states: 1 Shift,
# 4 Control, 8 Mod1 (Alt), 2 Lock.
PRESSES=(38:0 38:1 11:0 11:1 38:4 38:8 9:0 36:0 104:0 23:1 67:0 113:0 65:0 38:2)
EXPECTED=(
  "KeyDown 41 0 [a] @7,9 | Text 0 0 [a] @7,9"
  "KeyDown 41 1 [A] @7,9 | Text 0 1 [A] @7,9"
  "KeyDown 32 0 [2] @7,9 | Text 0 0 [2] @7,9"
  "KeyDown 32 1 [@] @7,9 | Text 0 1 [@] @7,9"
  "KeyDown 41 2 [] @7,9"
  "KeyDown 41 4 [] @7,9"
  "KeyDown 1b 0 [] @7,9"
  "KeyDown d 0 [] @7,9"
  "KeyDown d 0 [] @7,9"
  "KeyDown 9 1 [] @7,9"
  "KeyDown 70 0 [] @7,9"
  "KeyDown 25 0 [] @7,9"
  "KeyDown 20 0 [ ] @7,9 | Text 0 0 [ ] @7,9"
  "KeyDown 41 0 [A] @7,9 | Text 0 0 [A] @7,9"
)

check() {
  local label=$1
  shift
  mapfile -t actual < <("$PROBE" "$@" "${PRESSES[@]}")
  for i in "${!PRESSES[@]}"; do
    [[ ${actual[i]-} == "${EXPECTED[i]}" ]] ||
      fail "$label: press ${PRESSES[i]} gave '${actual[i]-}', expected '${EXPECTED[i]}'"
  done
  echo "ok: $label"
}

start_xvfb
XMODIFIERS=@im=none LC_ALL=C.UTF-8 check "built-in input method"
LC_ALL=C.UTF-8 check "no input method" --no-im
stop_xvfb
