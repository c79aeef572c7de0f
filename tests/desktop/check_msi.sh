#!/usr/bin/env bash
# Installs the Windows Installer package in a fresh Wine prefix and checks what a Windows
# user would find: the program in the maker's folder under Program Files, byte for byte the
# built one, a Start-menu shortcut, an entry in Programs and Features, the installed program
# starting and showing its main window; an older version upgraded in place and a second
# install leaving one copy; and after uninstalling, nothing of it left. DISPLAY must name an
# X display. AVO_WINE is the loader: /usr/lib/wine/wine for a 32-bit Windows (a win32
# prefix, whose Program Files is the 32-bit one), wine64 (the default) for a 64-bit one.
# Usage: check_msi.sh BUILD_DIR PACKAGE UPGRADE_CODE WIXL_OPTION...
#   BUILD_DIR holds avodevivu.exe and package-stage/msi/ (from the avo_msi target); the
#   older version is built from that stage with the same upgrade code.
set -euo pipefail
build_dir=$(cd "$1" && pwd)
package=$(realpath "$2")
upgrade_code=$3
shift 3
wixl_options=("$@")

work=$build_dir/msi-check
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=${AVO_WINE:-/usr/lib/wine/wine64}
[ "$(basename "$wine")" = wine64 ] || export WINEARCH=win32
program_pid=
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT
drive_c=$WINEPREFIX/drive_c

fail() { echo "FAIL: $*"; exit 1; }
msiexec() { "$wine" msiexec "$@" </dev/null >/dev/null 2>&1; }
property() { msiinfo export "$1" Property | tr -d '\r' | awk -F'\t' -v name="$2" '$1 == name { print $2 }'; }
# A registry key under HKLM in whichever view the package wrote (32-bit packages land in
# Wow6432Node on 64-bit Windows).
registry() {
  local view
  for view in "" "Wow6432Node\\"; do
    "$wine" reg query "HKLM\\Software\\$view$1" /s >"$work/reg.txt" 2>/dev/null &&
      { tr -d '\r' <"$work/reg.txt"; return 0; }
  done
  return 1
}
our_files() { find "$drive_c" \( -ipath '*kavrelonix*' -o -iname '*avodevivu*' \) -print; }
shortcuts() { find "$drive_c" -iname 'Rivuvuv Avodevivu 2010.lnk' -print; }

product_code=$(property "$package" ProductCode)
version=$(property "$package" ProductVersion)
uninstall_key="Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product_code"
[ "$(property "$package" ALLUSERS)" = 1 ] || fail "the package does not install per machine"
# Where the program belongs: a 32-bit package goes to the 32-bit Program Files, which on a
# 64-bit Windows is "Program Files (x86)".
program_files="Program Files"
[ "${WINEARCH:-}" != win32 ] && ! msiinfo suminfo "$package" | grep -q 'Template:.*x64' &&
  program_files="Program Files (x86)"

# The older version: the same files and upgrade code, an earlier version and its own
# product code.
older=$work/older
cp -r "$build_dir/package-stage/msi" "$older"
(cd "$older" && wixl "${wixl_options[@]}" -D Version=0.9.0 -D UpgradeCode="$upgrade_code" \
   -D ProductCode=0A9B8C7D-0000-4000-8000-000000000090 -o older.msi avodevivu.wxs)

"$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
if [ "${WINEARCH:-}" = win32 ]; then
  "$wine" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' \
    /v PROCESSOR_ARCHITECTURE 2>/dev/null | grep -q 'REG_SZ *x86' ||
    fail "the prefix is not a 32-bit Windows"
  [ ! -e "$drive_c/Program Files (x86)" ] || fail "a 32-bit Windows has no Program Files (x86)"
fi
msiexec /i "$older/older.msi" /qn || fail "the older version does not install"
older_key="Microsoft\\Windows\\CurrentVersion\\Uninstall\\{0A9B8C7D-0000-4000-8000-000000000090}"
registry "$older_key" >/dev/null || fail "the older version has no uninstall entry"

for round in upgrade reinstall; do
  msiexec /i "$package" /qn || fail "msiexec /i failed ($round)"
  installed=$(find "$drive_c" -iname avodevivu.exe -print)
  [ "$(wc -l <<<"$installed")" = 1 ] || fail "after $round: not one copy: $installed"
  case "$installed" in
    "$drive_c/$program_files/Kavrelonix/Rivuvuv Avodevivu 2010/avodevivu.exe") ;;
    *) fail "installed at $installed" ;;
  esac
  cmp "$installed" "$build_dir/avodevivu.exe" || fail "the installed program differs from the built one"
  [ "$(shortcuts | wc -l)" = 1 ] || fail "after $round: shortcuts: $(shortcuts)"
done
registry "$older_key" >/dev/null && fail "the older version is still registered after the upgrade"

# The shortcut starts the installed program and shows the program's icon.
link=$(shortcuts)
strings -el "$link" | grep -qi 'avodevivu.exe' || fail "the shortcut does not name avodevivu.exe"
strings -el "$link" | grep -qi 'avodevivu.ico' || fail "the shortcut has no icon"

# Programs and Features.
entry=$(registry "$uninstall_key") || fail "no uninstall entry $uninstall_key"
for expected in "DisplayName +REG_SZ +Rivuvuv Avodevivu 2010" "DisplayVersion +REG_SZ +$version" \
                "Publisher +REG_SZ +Kavrelonix" "URLInfoAbout +REG_SZ +http://www.kavrelonix.example"; do
  grep -Eq "^ +$expected$" <<<"$entry" || fail "the uninstall entry lacks '$expected': $entry"
done
packed=$(python3 -c 'import sys
g = sys.argv[1].strip("{}").split("-")
rev = lambda s: s[::-1]
pairs = lambda s: "".join(s[i + 1] + s[i] for i in range(0, len(s), 2))
print(rev(g[0]) + rev(g[1]) + rev(g[2]) + pairs(g[3]) + pairs(g[4]))' "$product_code")
"$wine" reg query "HKLM\\Software\\Classes\\Installer\\Products\\$packed" /v ProductIcon 2>/dev/null |
  grep -qi 'avodevivu.ico' || fail "Programs and Features has no icon for the product"

# The installed program starts and shows its main window; it is ended before the removal,
# which would otherwise find its file in use.
"$wine" "$installed" </dev/null >/dev/null 2>&1 &
program_pid=$!
shown=
for _ in $(seq 300); do
  shown=$(xdotool search --onlyvisible --name 'Rivuvuv Avodevivu 2010$' 2>/dev/null | head -1) &&
    [ -n "$shown" ] && break
  kill -0 "$program_pid" 2>/dev/null || fail "the installed program ended without a window"
  sleep 0.1
done
[ -n "$shown" ] || fail "the installed program shows no main window"
kill "$program_pid"
wait "$program_pid" 2>/dev/null || true
program_pid=

msiexec /x "$package" /qn || fail "msiexec /x failed"
left=$(our_files)
[ -z "$left" ] || fail "left after uninstalling: $left"
registry "$uninstall_key" >/dev/null && fail "the uninstall entry is left"
registry Kavrelonix >/dev/null && fail "HKLM\\Software\\Kavrelonix is left"
registry "Classes\\Installer\\Products\\$packed" >/dev/null && fail "the installer's product record is left"
echo "installer checks passed: $(basename "$package") $version"
