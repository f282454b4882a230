#!/usr/bin/env bash
# The save dialog test again, with a window manager running: the dialog must
# be visible and usable above the overlay there too.
WITH_WINDOW_MANAGER=1 exec bash "$(dirname "$0")/save_dialog_e2e.sh" "$@"
