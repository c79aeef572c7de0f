#!/usr/bin/env bash
# Installs the build into a scratch DESTDIR and checks the desktop files with the
# ecosystem's own validators. Usage: check_install.sh BUILD_DIR
set -euo pipefail
build_dir=$1
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null
root="$stage/usr"
app_id=example.kavrelonix.avodevivu

expect_file() { [ -f "$root/$1" ] || { echo "missing after install: /usr/$1"; exit 1; }; }
for file in bin/avodevivu "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
            share/man/man1/avodevivu.1.gz share/doc/avodevivu/copyright; do
  expect_file "$file"
done
for size in 16 24 32 48 64 128 256; do
  icon="share/icons/hicolor/${size}x${size}/apps/$app_id.png"
  expect_file "$icon"
  actual=$(identify -format '%wx%h' "$root/$icon")
  [ "$actual" = "${size}x${size}" ] || { echo "$icon is $actual"; exit 1; }
done

desktop-file-validate "$root/share/applications/$app_id.desktop"
appstreamcli validate --no-net --pedantic --explain "$root/share/metainfo/$app_id.metainfo.xml" ||
  appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml"

# The prefix is honoured too.
DESTDIR="$stage/alt" cmake --install "$build_dir" --prefix /opt/avodevivu >/dev/null
[ -x "$stage/alt/opt/avodevivu/bin/avodevivu" ] || { echo "prefix not honoured"; exit 1; }
echo "install checks passed"
