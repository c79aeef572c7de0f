#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test (benchmarks excluded).
# Usage: ./test.sh [preset...]   (default: linux asan win32 win64)
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh

# Qt and Wine tests need an X display; start a private one when there is none.
if [ -z "${DISPLAY:-}" ]; then
  export DISPLAY=:97
  Xvfb "$DISPLAY" -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill "$xvfb_pid" 2>/dev/null || true' EXIT
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(linux asan win32 win64)
for preset in "${presets[@]}"; do
  case "$preset" in
    win32|win64) [ -f platform/win32/CMakeLists.txt ] || { echo "== $preset: no Win32 backend yet, skipped"; continue; } ;;
  esac
  echo "== $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done
