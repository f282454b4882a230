# Shared by the Wayland scripts that reach the screen through the
# screenshot portal: a private session bus on which xdg-desktop-portal and
# xdg-desktop-portal-wlr start on demand, with pipewire beside them.
# Source it after sway_lib.sh; call start_portal after start_sway.

SKIP=77
BUS_PID=
PIPEWIRE_PID=

# Ends the script as skipped when a program the portal needs is missing.
need_portal_programs() {
  local p
  for p in /usr/libexec/xdg-desktop-portal /usr/libexec/xdg-desktop-portal-wlr \
           /usr/share/xdg-desktop-portal/portals/gtk.portal; do
    [[ -e $p ]] || { echo "SKIP: $p is not installed (scripts/setup installs it)"; exit $SKIP; }
  done
  for p in dbus-daemon pipewire grim; do
    command -v "$p" >/dev/null || { echo "SKIP: $p is not installed (scripts/setup installs it)"; exit $SKIP; }
  done
}

# The portals the bus started end with their bus.
stop_portal() {
  [[ -n $BUS_PID ]] && kill "$BUS_PID" 2>/dev/null
  [[ -n $PIPEWIRE_PID ]] && kill "$PIPEWIRE_PID" 2>/dev/null
  BUS_PID= PIPEWIRE_PID=
}
trap 'stop_portal; cleanup' EXIT

# Starts a session bus (config $1 when given, else the standard one) and
# exports its address. The services it starts inherit this environment:
# the compositor, the desktop's name that picks the wlr portal, and our
# own home so that nothing of the real one is touched.
start_bus() {
  local out config=(--session)
  [[ -n ${1:-} ]] && config=(--config-file="$1")
  export XDG_CURRENT_DESKTOP=sway HOME=$WL_TMP/home
  mkdir -p "$HOME"
  out=$(dbus-daemon "${config[@]}" --fork --print-address=1 --print-pid=1 2>>"$WL_TMP/bus.log") ||
    fail "dbus-daemon did not start: $(cat "$WL_TMP/bus.log")"
  DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$out")
  BUS_PID=$(sed -n 2p <<<"$out")
  export DBUS_SESSION_BUS_ADDRESS
}

# The whole portal route: session bus and pipewire (xdg-desktop-portal-wlr
# connects to it when it starts). The portal is started here, since its
# first start takes a while on a busy machine.
# NOTE: xdg-desktop-portal-wlr 0.7 now and then leaves a D-Bus call it has
# read unanswered until its next message; xdg-desktop-portal then waits
# 25 s at start-up for the wlr backend's properties. A ping between tries
# wakes it.
start_portal() {
  start_bus
  pipewire >"$WL_TMP/pipewire.log" 2>&1 &
  PIPEWIRE_PID=$!
  for _ in $(seq 20); do
    timeout 1 dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop /org/freedesktop/portal/desktop \
      org.freedesktop.DBus.Properties.Get string:org.freedesktop.portal.Screenshot string:version \
      >/dev/null 2>"$WL_TMP/portal.log" && return 0
    timeout 1 dbus-send --session --dest=org.freedesktop.impl.portal.desktop.wlr /org/freedesktop/portal/desktop \
      org.freedesktop.DBus.Peer.Ping 2>/dev/null
  done
  fail "the screenshot portal did not start: $(cat "$WL_TMP/portal.log")"
}
