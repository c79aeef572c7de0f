#!/usr/bin/env bash
# Makes every release artefact from this source tree, the same bytes on every run of one
# commit:
#   avodevivu_<version>_amd64.deb      the Linux package
#   avodevivu-<version>-win32.zip      the 32-bit Windows executable and a read-me
#   avodevivu-<version>-win32.msi      the 32-bit Windows installer
#   avodevivu-<version>-web.html       the program in a web browser, one file that works offline
#   avodevivu-<version>-web.zip        the same for a web host: page, script, WebAssembly module
#   executables/{i686,x86_64}/avodevivu.exe   both Windows executables, for comparison
#   SHA256SUMS
# Usage: tools/release.sh [OUTPUT_DIR]   (default build/release)
# The build trees live in build/release-trees/. Dates come from SOURCE_DATE_EPOCH, or else
# from the last commit.
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
output_dir=${1:-$source_dir/build/release}
trees=$source_dir/build/release-trees

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) ||
    { echo "not a git checkout: set SOURCE_DATE_EPOCH (seconds since 1970)"; exit 1; }
fi
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022

configure() {
  cmake -S "$source_dir" --preset "$1" -B "$trees/$1" -DAVO_BUILD_TESTS=OFF >"$trees/$1.log" 2>&1 ||
    { cat "$trees/$1.log"; return 1; }
}

# The output folder is emptied first: only ever a folder this script made, or a new one.
if [ -d "$output_dir" ] && [ -n "$(ls -A "$output_dir")" ] && [ ! -f "$output_dir/SHA256SUMS" ]; then
  echo "$output_dir holds other files: give an empty or new folder"; exit 1
fi
mkdir -p "$trees"
rm -rf "$output_dir"
mkdir -p "$output_dir/executables/i686" "$output_dir/executables/x86_64"

# The web build comes with the web preset; a tree without one makes the other artefacts.
has_web_preset() { grep -q '"name": *"web"' "$source_dir/CMakePresets.json"; }

# Configuring is single-threaded: the trees configure side by side.
configure linux & linux_job=$!
configure win32 & win32_job=$!
configure win64 & win64_job=$!
web_job=
if has_web_preset; then configure web & web_job=$!; fi
wait "$linux_job" && wait "$win32_job" && wait "$win64_job"
[ -z "$web_job" ] || wait "$web_job"

cmake --build "$trees/win32" -j2 --target avo_zip avo_msi
cmake --build "$trees/win64" -j2 --target avodevivu
cmake --build "$trees/linux" -j2 --target avodevivu avo_package_docs
(cd "$trees/linux" && cpack -G DEB -B "$trees/linux/deb" >/dev/null)
if [ -n "$web_job" ]; then cmake --build "$trees/web" -j2; fi

cp "$trees"/linux/deb/avodevivu_*.deb "$trees"/win32/avodevivu-*-win32.zip \
   "$trees"/win32/avodevivu-*-win32.msi "$output_dir/"
cp "$trees/win32/avodevivu.exe" "$output_dir/executables/i686/"
cp "$trees/win64/avodevivu.exe" "$output_dir/executables/x86_64/"
if [ -n "$web_job" ]; then
  stem=$(basename "$trees"/win32/avodevivu-*-win32.zip -win32.zip)  # avodevivu-<version>
  cp "$trees/web/avodevivu.html" "$output_dir/$stem-web.html"
  /usr/bin/python3 "$source_dir/tools/make_zip.py" "$output_dir/$stem-web.zip" "$SOURCE_DATE_EPOCH" \
    "$trees/web/site/index.html" "$trees/web/site/avodevivu.js" "$trees/web/site/avodevivu.wasm"
fi
(cd "$output_dir" && find . -type f ! -name SHA256SUMS -printf '%P\n' | sort |
   xargs sha256sum > SHA256SUMS)
echo "release artefacts in $output_dir:"
(cd "$output_dir" && find . -type f -printf '%P\t%s bytes\n' | sort)
