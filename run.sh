#!/usr/bin/env bash
# Installs what is missing, builds the Linux program and starts it.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake --preset linux >/dev/null
cmake --build --preset linux --target avodevivu
exec ./build/linux/avodevivu
