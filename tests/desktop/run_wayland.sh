#!/usr/bin/env bash
# Runs wayland_check.py on its own session bus and AT-SPI bus (the compositor is its own).
# Usage: run_wayland.sh PATH/TO/avodevivu SCREENSHOT_DIR xwayland|native
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v dbus-run-session >/dev/null || { echo "SKIPPED: dbus-run-session is missing"; exit 77; }
exec dbus-run-session -- /usr/bin/python3 "$here/wayland_check.py" "$@"
