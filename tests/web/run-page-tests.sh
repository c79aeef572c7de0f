#!/usr/bin/env bash
# Runs the page's tests in headless Chromium. Usage: run-page-tests.sh BUILD_DIR [conformance|fuzz]
# (the page's own tests, or the conformance suite or the fuzzer on the web window system)
# Skips (exit 77) with a line saying why where Chromium or node is missing. puppeteer-core is
# installed from the npm registry into the build tree once, without a browser of its own.
set -euo pipefail
build_dir="$1"
here="$(cd "$(dirname "$0")" && pwd)"
chromium="${AVO_CHROMIUM:-/usr/bin/chromium}"
if [ ! -x "$chromium" ]; then echo "skipped: no Chromium at $chromium"; exit 77; fi
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  echo "skipped: node and npm are needed to drive Chromium"; exit 77
fi
modules="$build_dir/web-test-modules"
if [ ! -d "$modules/node_modules/puppeteer-core" ]; then
  mkdir -p "$modules"
  PUPPETEER_SKIP_DOWNLOAD=1 npm install --prefix "$modules" --no-audit --no-fund --no-save \
    --loglevel=error puppeteer-core@22.15.0 >/dev/null
fi
export NODE_PATH="$modules/node_modules" AVO_CHROMIUM="$chromium"
case "${2:-}" in
  conformance | fuzz) exec node "$here/conformance-harness.js" "$build_dir" "$2" ;;
esac
exec node --test-reporter=spec "$here/PageTest.js" "$build_dir"
