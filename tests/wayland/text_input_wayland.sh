#!/usr/bin/env bash
# Under sway: a text box asks for the input method (text-input-v3) when it
# opens and lets it go when it closes; what the method commits is typed
# into the box exactly as the same text typed on the keyboard.
set -u
BUILD=${1:?build directory}
source "$(dirname "$0")/sway_lib.sh"
IM_PID=
trap '[[ -n $IM_PID ]] && kill "$IM_PID" 2>/dev/null; cleanup' EXIT
convert -size 800x600 xc:'#306090' "$WL_TMP/desk.png" || fail "cannot make the desktop picture"
start_sway "$WL_TMP/desk.png"
place_output HEADLESS-1 800x600 1 0 0
start_pointer 800 600
pointer "move 20 20"
settle_screen
screen_to "$WL_TMP/plain.png"
export XDG_CONFIG_HOME=$WL_TMP/config

# Selection (100, 100)-(500, 300): the toolbar spans (171, 306)-(500, 334),
# the text tool is its fifth button; a click at (180, 230) opens a box.
# $1: what types the text; the clipboard's picture goes to $2.
write_text() {
  pointer "move 20 20"
  WAYLAND_DEBUG=${3:-} start_app
  read -r r g b < <(file_pixel "$WL_TMP/plain.png" 600 400)
  wait_for_pixel 600 400 "$(dim "$r" "$g" "$b")" "the dimmed desktop"
  pointer "move 100 100" "down left" "move 300 150" "move 500 300" "up left"
  wait_for_pixel 180 308 "222 238 255" "the toolbar"
  pointer "move $((171 + 17 + 26 * 4)) 318" "click left" "move 180 230" "click left"
  eval "$1"
  sleep 0.3
  wtype -k Escape
  sleep 0.3
  pointer "move 471 318" "click left"
  wait_app 30 || fail "regioncap still running after finish"
  [[ $EXIT_CODE == 0 ]] || fail "exit code $EXIT_CODE after finish"
  timeout 5 wl-paste -t image/png >"$2" || fail "no picture on the clipboard"
}

: >"$WL_TMP/im.log"
"$(tool input_method)" "你好" >>"$WL_TMP/im.log" 2>&1 &
IM_PID=$!
for _ in $(seq 50); do
  grep -q ready "$WL_TMP/im.log" && break
  sleep 0.05
done
grep -q ready "$WL_TMP/im.log" || fail "the input method did not start: $(cat "$WL_TMP/im.log")"
wait_for_activation() {
  for _ in $(seq 30); do
    grep -q activate "$WL_TMP/im.log" && return
    sleep 0.1
  done
  fail "the text box did not ask for the input method"
}
write_text wait_for_activation "$WL_TMP/committed.png" client
[[ $(grep -c activate "$WL_TMP/im.log") == 2 && $(tail -n1 "$WL_TMP/im.log") == deactivate ]] ||
  fail "the input method's log: $(cat "$WL_TMP/im.log")"
# The caret's box went to the method: first where the click opened the box,
# then further right once the text was in.
grep -o 'set_cursor_rectangle([-0-9, ]*)' "$WL_TMP/app.log" | tr -d 'a-z_()' | tr ',' ' ' >"$WL_TMP/spots"
read -r x0 y0 w0 h0 < <(head -n1 "$WL_TMP/spots")
read -r x1 y1 _ _ < <(tail -n1 "$WL_TMP/spots")
(( x0 >= 175 && x0 <= 190 && y0 >= 210 && y0 <= 235 && w0 > 0 && h0 >= 10 )) ||
  fail "the first caret box is ($(head -n1 "$WL_TMP/spots")), not at the click (180, 230)"
(( x1 > x0 + 20 && y1 == y0 )) || fail "the caret box did not follow the text: $(tr '\n' ';' <"$WL_TMP/spots")"
kill "$IM_PID"
wait "$IM_PID" 2>/dev/null
IM_PID=

write_text "wtype -s 50 '你好'" "$WL_TMP/typed.png"
convert "$WL_TMP/plain.png" -crop 400x200+100+100 +repage "$WL_TMP/plain-piece.png"
written=$(compare -metric AE "$WL_TMP/committed.png" "$WL_TMP/plain-piece.png" null: 2>&1)
(( written > 20 )) || fail "the committed text left only $written pixels in the picture"
differ=$(compare -metric AE "$WL_TMP/committed.png" "$WL_TMP/typed.png" null: 2>&1)
[[ $differ == 0 ]] || fail "committed and typed text differ in $differ pixels"
echo "PASS: the input method's text reaches the text box, which asks for it only while open"
