#!/usr/bin/env bash
# Runs atspi_check.py against the real program under its own X display, session bus and
# AT-SPI bus. Usage: run_atspi.sh PATH/TO/avodevivu [CHECK_SCRIPT]
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
check=${2:-$here/atspi_check.py}
display=:96
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 0.5
DISPLAY=$display dbus-run-session -- bash -c "
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  sleep 1
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 '$program' &
  app=\$!
  status=0
  /usr/bin/python3 '$check' avodevivu || status=\$?
  kill \$app 2>/dev/null || true
  exit \$status"
