#!/usr/bin/env bash
# Builds what the benchmarks need from this repository, starts a private X server with a
# window manager, runs every benchmark and prints a table (also written to
# build/bench/results.md). Usage: bench/run-all.sh [launches per side, default 25]
# Environment: AVO_BENCH_DISPLAY (default :93). The i686 program, the one Windows users get,
# runs under 32-bit Wine (a win32 prefix) and its x86_64 twin under wine64, each in a prefix
# and with a wine server of its own; without 32-bit Wine only the twin is measured.
# AVO_BENCH_ONLY=web runs only the web page's section (headless Chromium, no X server),
# AVO_BENCH_WEB_RUNS its runs (default 3).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
out="$repo/build/bench"
runs="${1:-25}"
display="${AVO_BENCH_DISPLAY:-:93}"
pids=()

log() { echo "== $*" >&2; }

wine32=/usr/lib/wine/wine
wine64=/usr/lib/wine/wine64
prefixes=()

cleanup() {
  set +e
  for prefix in "${prefixes[@]}"; do
    [ -d "$prefix" ] && WINEPREFIX=$prefix timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null
  done
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  for pid in "${pids[@]}"; do timeout 5 tail --pid="$pid" -f /dev/null 2>/dev/null || kill -9 "$pid" 2>/dev/null; done
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Configures one preset into build/bench/<preset> with the benchmark tools.
configure() {
  local preset="$1"
  cmake --preset "$preset" -S "$repo" -B "$out/$preset" -DAVO_BUILD_BENCHMARKS=ON \
        -DAVO_BUILD_TESTS=OFF >/dev/null
}

build() {
  local preset="$1"; shift
  cmake --build "$out/$preset" -j2 --target "$@" >/dev/null
}

build_everything() {
  log "building (build/bench/)"
  configure linux
  build linux avo-xprobe avo-qt-baseline avodevivu
  for preset in win64 win32; do
    configure "$preset"
    build "$preset" avodevivu avo-win32-baseline avo-win32-manifest-baseline \
      avo-win32-picture-baseline avo-win32-faces-baseline
  done
}

start_x() {
  if xdpyinfo -display "$display" >/dev/null 2>&1; then
    echo "display $display is taken; set AVO_BENCH_DISPLAY" >&2; exit 1
  fi
  log "starting Xvfb $display and openbox"
  Xvfb "$display" -screen 0 1280x1024x24 -br -nolisten tcp >"$out/xvfb.log" 2>&1 &
  pids+=($!)
  export DISPLAY="$display"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  openbox --sm-disable >"$out/openbox.log" 2>&1 &
  pids+=($!)
  for _ in $(seq 100); do xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window && break; sleep 0.1; done
}

# A prefix of the benchmark's own, and a wine server that outlives each launch, so that
# start-up is measured warm, as a user's second launch would be.
# Usage: start_wine LOADER PREFIX [WINEARCH]
start_wine() {
  local loader=$1 prefix=$2 arch=${3:-}
  prefixes+=("$prefix")
  (
    export WINEPREFIX=$prefix WINEDEBUG=-all
    [ -z "$arch" ] || export WINEARCH=$arch
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      log "creating the wine prefix $prefix (once)"
      timeout 300 "$loader" wineboot -i >/dev/null 2>&1
      timeout 60 /usr/lib/wine/wineserver -w
    fi
    /usr/lib/wine/wineserver -p
    # One throw-away launch brings up the services and the desktop process, which then stay.
    timeout 120 "$loader" cmd.exe /c exit >/dev/null 2>&1 || true
  )
}

# The command line that starts a program in a prefix, for the probe to run.
wine_command() { echo "/usr/bin/env WINEPREFIX=$2 WINEDEBUG=-all $1"; }

# About opens the maker's web site; here the opener does nothing, so that no browser runs.
quiet_opener() {
  mkdir -p "$out/stub-bin"
  printf '#!/bin/sh\nexit 0\n' >"$out/stub-bin/xdg-open"
  chmod +x "$out/stub-bin/xdg-open"
  export PATH="$out/stub-bin:$PATH"
}

# The web page against its floor pages in headless Chromium. Optional: skipped, with the
# reason, where the web preset, its build, Chromium or npm is missing.
web_section() {
  local web="$out/web" tools="$out/web-bench"
  if ! grep -q '"name": *"web"' "$repo/CMakePresets.json"; then
    log "web: skipped (no web preset in CMakePresets.json)"; return 0
  fi
  if [ ! -x /usr/bin/chromium ] || ! command -v npm >/dev/null; then
    log "web: skipped (needs /usr/bin/chromium and npm)"; return 0
  fi
  log "web: building the page (build/bench/web) and the floor pages"
  if ! { cmake --preset web -S "$repo" -B "$web" -DAVO_BUILD_TESTS=OFF >"$out/web-build.log" 2>&1 &&
         cmake --build "$web" -j2 >>"$out/web-build.log" 2>&1; } ||
     [ ! -f "$web/avodevivu.html" ] || [ ! -f "$web/site/avodevivu.wasm" ]; then
    log "web: skipped (the web build failed or made no page; see $out/web-build.log)"; return 0
  fi
  configure linux
  build linux avo_web_fonts
  /usr/bin/python3 "$repo/bench/web/make_floor.py" "$repo" "$out/linux/web-fonts.css" "$tools/pages"
  cp "$repo/bench/web/package.json" "$repo/bench/web/package-lock.json" "$repo/bench/web/measure.mjs" "$tools/"
  if ! (cd "$tools" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund >"$tools/npm.log" 2>&1); then
    log "web: skipped (npm could not install puppeteer-core; see $tools/npm.log)"; return 0
  fi
  node "$tools/measure.mjs" --chromium /usr/bin/chromium --runs "${AVO_BENCH_WEB_RUNS:-3}" \
    --single "$web/avodevivu.html" --site "$web/site" --floor "$tools/pages/floor.html" \
    --floor-pulse "$tools/pages/floor-pulse.html" --out "$out"
  [ ! -f "$out/results.md" ] || tail -n +3 "$out/web-results.md" >>"$out/results.md"
}

main() {
  mkdir -p "$out"
  if [ "${AVO_BENCH_ONLY:-}" = web ]; then web_section; return; fi
  build_everything
  start_x
  quiet_opener
  export XDG_RUNTIME_DIR="$out/xdg-runtime"
  mkdir -p -m 700 "$XDG_RUNTIME_DIR"
  local args=(--probe "$out/linux/bench/avo-xprobe" --runs "$runs" --out "$out"
              --qt-program "$out/linux/avodevivu" --qt-baseline "$out/linux/bench/avo-qt-baseline"
              --linux-exe-for-size "$out/linux/avodevivu" --i686-program "$out/win32/avodevivu.exe"
              --i686-baseline "$out/win32/bench/avo-win32-baseline.exe")
  if "$wine32" --version >/dev/null 2>&1; then
    start_wine "$wine32" "$out/wineprefix32" win32
    args+=(--windows "i686 under 32-bit Wine" "$(wine_command "$wine32" "$out/wineprefix32")"
           "$out/win32/avodevivu.exe" "$out/win32/bench" --suspects "i686 under 32-bit Wine")
  else
    echo "note: 32-bit Wine does not run here: the i686 program is not measured" >&2
  fi
  start_wine "$wine64" "$out/wineprefix64"
  args+=(--windows "x86_64 under wine64" "$(wine_command "$wine64" "$out/wineprefix64")"
         "$out/win64/avodevivu.exe" "$out/win64/bench")
  /usr/bin/python3 "$repo/bench/measure.py" "${args[@]}"
  web_section
}

main
