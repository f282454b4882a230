# Shared by the Wayland end-to-end scripts: a private headless sway, a
# virtual pointer, the screen through grim, and small checks.
# Source it, then call start_sway; cleanup runs on exit.
#
# sway refuses to run as root, so it runs as nobody (65534) with a runtime
# directory of its own; our clients (root) reach its socket there.

BUILD=$(realpath "$BUILD")
WL_TMP=$(mktemp -d)
chmod 755 "$WL_TMP"
SWAY_PID=
APP_PID=
PTR_PID=

cleanup() {
  [[ -n $APP_PID ]] && kill "$APP_PID" 2>/dev/null
  [[ -n ${PTR_PID:-} ]] && kill "$PTR_PID" 2>/dev/null
  stop_sway
  rm -rf "$WL_TMP"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [[ -f $WL_TMP/app.log ]] && { echo "--- regioncap's stderr:" >&2; cat "$WL_TMP/app.log" >&2; }
  exit 1
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

# Starts sway with one headless output showing the picture $1 (a PNG the
# size of the output) and exports WAYLAND_DISPLAY and SWAYSOCK.
start_sway() {
  local runtime=$WL_TMP/runtime
  mkdir -p "$runtime" && chown 65534:65534 "$runtime" && chmod 700 "$runtime"
  cat >"$WL_TMP/sway.config" <<CONFIG
xwayland disable
default_border none
output * bg $1 fill
CONFIG
  chmod 644 "$WL_TMP/sway.config" "$1"
  env -i PATH="$PATH" HOME=/nonexistent XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_RENDERER=pixman \
    WLR_LIBINPUT_NO_DEVICES=1 setpriv --reuid=65534 --regid=65534 --clear-groups \
    sway -c "$WL_TMP/sway.config" >"$WL_TMP/sway.log" 2>&1 &
  SWAY_PID=$!
  export XDG_RUNTIME_DIR=$runtime
  for _ in $(seq 100); do
    SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock 2>/dev/null | head -n1)
    [[ -n $SWAYSOCK && -S $runtime/wayland-1 ]] && break
    sleep 0.05
  done
  [[ -S $runtime/wayland-1 ]] || fail "sway did not start: $(cat "$WL_TMP/sway.log")"
  export SWAYSOCK WAYLAND_DISPLAY=wayland-1
  unset DISPLAY
  swaymsg -q seat seat0 hide_cursor 100 || fail "swaymsg cannot reach sway"
}

stop_sway() {
  [[ -n $SWAY_PID ]] || return 0
  swaymsg -q exit 2>/dev/null || kill "$SWAY_PID" 2>/dev/null
  for _ in $(seq 50); do
    kill -0 "$SWAY_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$SWAY_PID" 2>/dev/null
  wait "$SWAY_PID" 2>/dev/null
  SWAY_PID=
}

# Sets output $1 to resolution $2 (WxH), scale $3, at position $4 $5.
place_output() {
  swaymsg -q output "$1" resolution "$2" scale "$3" position "$4" "$5" || fail "cannot set up output $1"
}

# Starts the virtual pointer for a logical layout of $1 x $2.
start_pointer() {
  coproc PTR { "$(tool virtual_pointer)" "$1" "$2" 2>>"$WL_TMP/pointer.log"; }
  PTR_PID=$PTR_PID
}

# Plays pointer commands one by one, each after the program had time to
# handle the previous one.
pointer() {
  local step reply
  for step in "$@"; do
    echo "$step" >&"${PTR[1]}"
    read -r -t 5 -u "${PTR[0]}" reply || fail "the virtual pointer did not answer"
    sleep 0.12
  done
}

# Waits up to 5 s for the screen to stop changing (swaybg draws its
# pictures some time after an output changes).
settle_screen() {
  local before now
  before=$(grim -t ppm - | md5sum)
  for _ in $(seq 25); do
    sleep 0.2
    now=$(grim -t ppm - | md5sum)
    [[ $now == "$before" ]] && return 0
    before=$now
  done
  fail "the screen keeps changing"
}

# The whole screen (or output $2, in its own pixels) as a PNG in $1.
screen_to() {
  grim ${2:+-o "$2"} -t ppm "$WL_TMP/screen.ppm" || fail "grim cannot read the screen"
  convert "$WL_TMP/screen.ppm" "$1"
}

# The screen's pixel at ($1, $2): "r g b". With GRIM_OUTPUT set, the
# pixel of that output, in its own pixels.
screen_pixel() {
  grim ${GRIM_OUTPUT:+-o "$GRIM_OUTPUT"} -t ppm "$WL_TMP/pixel.ppm" 2>/dev/null || return 1
  convert "$WL_TMP/pixel.ppm" -format "%[fx:int(255*p{$1,$2}.r)] %[fx:int(255*p{$1,$2}.g)] %[fx:int(255*p{$1,$2}.b)]" info:
}

# A pixel of PNG $1 at ($2, $3): "r g b".
file_pixel() {
  convert "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# "r g b" dimmed as the overlay shows it.
dim() { echo "$(div255 $(($1 * 127))) $(div255 $(($2 * 127))) $(div255 $(($3 * 127)))"; }

# Waits up to 5 s for the screen at ($1, $2) to show $3; $4 says what that is.
wait_for_pixel() {
  local now
  for _ in $(seq 50); do
    now=$(screen_pixel "$1" "$2")
    [[ $now == "$3" ]] && return 0
    [[ -n $APP_PID ]] && ! kill -0 "$APP_PID" 2>/dev/null && fail "regioncap ended early"
    sleep 0.1
  done
  fail "($1, $2) shows $now, expected $3 ${4:+($4)}"
}

# Starts regioncap in the background. Window snapping is off: Wayland
# lists no windows, so before a selection the pointer's output would show
# undimmed as the snap target, and these tests check the dimmed desktop
# around free selections (snapping has its own tests on X11).
start_app() {
  "$BUILD/regioncap" --no-window-snap "$@" 2>"$WL_TMP/app.log" &
  APP_PID=$!
}

# Waits up to $1 tenths of a second for regioncap to end; EXIT_CODE gets
# its code. (Not in a $(...) subshell: only this shell can collect it.)
wait_app() {
  for _ in $(seq "$1"); do
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$APP_PID" 2>/dev/null && return 1
  wait "$APP_PID"
  EXIT_CODE=$?
  APP_PID=
}

# PNG $1 must equal the $2 x $3 piece of PNG $4 at ($5, $6), pixel for pixel.
same_piece() {
  convert "$4" -crop "$2x$3+$5+$6" +repage "$WL_TMP/expect.png"
  [[ $(identify -format '%wx%h' "$1") == "$2x$3" ]] || fail "$1 is $(identify -format '%wx%h' "$1"), expected $2x$3"
  local differ
  differ=$(compare -metric AE "$1" "$WL_TMP/expect.png" null: 2>&1)
  [[ $differ == 0 ]] || fail "$1 differs from the screen in $differ pixels"
}
