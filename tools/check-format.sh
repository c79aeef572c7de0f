#!/usr/bin/env bash
# Fails, naming each file, when a C++ file of the tree is not in the style of .clang-format.
# Usage: tools/check-format.sh   (tools/check-format.sh --fix rewrites the files instead)
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
  exit 0
fi
unformatted=()
for file in "${files[@]}"; do
  clang-format --dry-run --Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done
if ((${#unformatted[@]})); then
  printf 'not formatted (run tools/check-format.sh --fix): %s\n' "${unformatted[@]}" >&2
  exit 1
fi
