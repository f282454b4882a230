#!/usr/bin/env bash
# Without a display the program says so in one line and fails cleanly:
# a non-zero exit code that is not a crash.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/xvfb_lib.sh"

# A display number with no server behind it.
closed=
for n in $(seq 371 470); do
  if [[ ! -e /tmp/.X$n-lock && ! -e /tmp/.X11-unix/X$n ]]; then closed=$n; break; fi
done
[[ -n $closed ]] || fail "no free display number"

check_clean_failure() {
  local label=$1
  shift
  timeout 10 "$@" 2>"$E2E_TMP/err" >/dev/null
  local code=$?
  [[ $code != 124 ]] || fail "$label: hung"
  [[ $code != 0 ]] || fail "$label: exit code 0"
  [[ $code != 134 && $code != 139 && $code -lt 128 ]] || fail "$label: crashed with exit code $code"
  local lines
  lines=$(wc -l <"$E2E_TMP/err")
  [[ $lines == 1 ]] || fail "$label: $lines lines on stderr: $(cat "$E2E_TMP/err")"
  grep -q "X11" "$E2E_TMP/err" || fail "$label: stderr does not name X11: $(cat "$E2E_TMP/err")"
  echo "ok: $label -> $code: $(cat "$E2E_TMP/err")"
}

check_clean_failure "DISPLAY unset" env -u DISPLAY "$BUILD/regioncap"
check_clean_failure "DISPLAY=:$closed" env DISPLAY=":$closed" "$BUILD/regioncap"
echo "PASS: clean failures without a display"
