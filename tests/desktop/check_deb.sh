#!/usr/bin/env bash
# Builds the .deb with CPack and inspects it: contents, dependencies found by shlibdeps, and
# lintian with no errors. Usage: check_deb.sh BUILD_DIR
set -euo pipefail
build_dir=$(cd "$1" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

(cd "$build_dir" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/avodevivu_*.deb)
contents=$(dpkg-deb -c "$deb")
for path in ./usr/bin/avodevivu ./usr/share/applications/example.kavrelonix.avodevivu.desktop \
            ./usr/share/metainfo/example.kavrelonix.avodevivu.metainfo.xml \
            ./usr/share/icons/hicolor/48x48/apps/example.kavrelonix.avodevivu.png; do
  grep -qF " $path" <<<"$contents" || { echo "the package lacks $path"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6; do
  grep -q "$library" <<<"$depends" || { echo "Depends lacks $library"; exit 1; }
done
# The families the program draws its faces in (the Qt tests hold that list) come from
# packages the .deb depends on, so an installed copy draws as the build does.
for family in "Liberation Sans" "DejaVu Sans"; do
  file=$(fc-match -f '%{file}' "$family:style=Regular")
  [ "$(fc-match -f '%{family[0]}' "$family")" = "$family" ] || { echo "$family is not installed"; exit 1; }
  package=$(dpkg-query -S "$(realpath "$file")" | cut -d: -f1)
  grep -qw "$package" <<<"$depends" || { echo "Depends lacks $package, which holds $family"; exit 1; }
done
dpkg-deb -I "$deb" >/dev/null
# apt resolves its dependencies on this Debian release (a simulation: nothing is installed).
apt-get install --simulate "$deb" >/dev/null
# Lintian's verdict: errors fail, warnings are listed.
lintian --tag-display-limit 0 --fail-on error "$deb"
echo "package checks passed: $(basename "$deb")"
