#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test (benchmarks excluded).
# Usage: ./test.sh [preset...]   (default: linux asan win32 win64 web)
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh

# One style for the C++ of the whole tree; a file out of it is named here, before any build.
tools/check-format.sh

# Qt and Wine tests need an X display with a window manager, as a desktop has: stacking,
# activation and placement are the window manager's. Start a private one when there is none.
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "${wm_pid:-}" "$xvfb_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >/dev/null 2>&1 &
  wm_pid=$!
  for _ in $(seq 50); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
fi

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(linux asan win32 win64 web)
for preset in "${presets[@]}"; do
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
