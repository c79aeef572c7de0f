#!/usr/bin/env bash
# Runs a check script against the real program under its own X display, session bus and
# AT-SPI bus. The X server picks a free display itself. Usage:
#   run_atspi.sh PATH/TO/avodevivu [CHECK_COMMAND...]
# The check command (atspi_check.py by default) runs with DISPLAY and the buses set, once the
# program is on the accessibility bus; AVO_PROGRAM names the program for it. With
# AVO_CHECK_STARTS_PROGRAM=1 the check starts the program itself, as often as it needs.
set -euo pipefail
program=$(realpath "$1")
shift
here=$(cd "$(dirname "$0")" && pwd)
(($#)) || set -- /usr/bin/python3 "$here/atspi_check.py" avodevivu

work=$(mktemp -d)
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
read -r -t 20 number <"$work/display" || { echo "Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$number AVO_PROGRAM=$program

# Quoted once for the inner shell, which starts the buses, the program and the check.
printf -v check ' %q' "$@"
dbus-run-session -- bash -c "
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  for _ in \$(seq 100); do  # until the accessibility bus answers, 10 s at most
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
      >/dev/null 2>&1 && break
    sleep 0.1
  done
  app=
  if [ \"\${AVO_CHECK_STARTS_PROGRAM:-0}\" != 1 ]; then
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \"\$AVO_PROGRAM\" &
    app=\$!
  fi
  status=0
  $check || status=\$?
  [ -z \"\$app\" ] || kill \$app 2>/dev/null || true
  exit \$status"
