#!/usr/bin/env bash
# Builds the release artefacts twice from copies of this source tree in two different
# folders, one after the other and without ccache (which would hide compiler
# nondeterminism), and compares them byte for byte (the web page and its zip too, where the
# tree has the web build), naming the byte ranges that differ
# (runs less than 16 equal bytes apart merged); then checks that every version in them
# agrees with app/Version.h.
# Usage: check_reproducible.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir=$(cd "$1" && pwd)
work=$2
here=$(cd "$(dirname "$0")" && pwd)

git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1 ||
  { echo "not a git checkout: the files of a commit cannot be listed"; exit 77; }
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$source_dir" log -1 --format=%ct)}
export CCACHE_DISABLE=1
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER

rm -rf "$work"
copies=("$work/a/avodevivu" "$work/second-build-in-a-longer-folder/avodevivu")
for copy in "${copies[@]}"; do
  mkdir -p "$copy"
  # The committed files plus any work in progress, without build trees.
  (cd "$source_dir" && git ls-files -z --cached --others --exclude-standard |
     tar --null --ignore-failed-read -T - -cf -) | tar -xf - -C "$copy"
  started=$(date +%s)
  bash "$copy/tools/release.sh" "$copy/release" >"$copy.log" 2>&1 ||
    { tail -40 "$copy.log"; echo "the release build in $copy failed"; exit 1; }
  echo "built in $copy: $(($(date +%s) - started)) s"
done

first=${copies[0]}/release
second=${copies[1]}/release
status=0
while read -r file; do
  if cmp -s "$first/$file" "$second/$file"; then
    echo "identical  $(stat -c %s "$first/$file") bytes  $file"
  else
    status=1
    echo "DIFFERENT  $file"
    cmp -l "$first/$file" "$second/$file" 2>&1 | awk '
      /EOF/ { print "  " $0; next }
      { offset = $1 - 1
        if (start == "" || offset > last + 16) { if (start != "") printf "  bytes %d-%d\n", start, last; start = offset }
        last = offset }
      END { if (start != "") printf "  bytes %d-%d\n", start, last }' | head -20
  fi
done < <(cd "$first" && find . -type f -printf '%P\n' | sort)
[ "$(cd "$first" && find . -type f | sort)" = "$(cd "$second" && find . -type f | sort)" ] ||
  { echo "the two builds made different files"; status=1; }
# Where the tree has the web build, its two artefacts are compared like the others and must
# not be left out quietly.
trees=${copies[0]}/build/release-trees
version_trees=("$trees/linux" "$trees/win32" "$trees/win64")
if grep -q '"name": *"web"' "$source_dir/CMakePresets.json"; then
  version_trees+=("$trees/web")
  for artefact in web.html web.zip; do
    compgen -G "$first/avodevivu-*-$artefact" >/dev/null ||
      { echo "MISSING    avodevivu-<version>-$artefact"; status=1; }
  done
fi
cat "$first/SHA256SUMS"

python3 "$here/../resources/check_versions.py" "${copies[0]}" "$first" "${version_trees[@]}" ||
  status=1
[ "$status" -ne 0 ] || rm -rf "$work"
exit "$status"
