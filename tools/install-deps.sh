#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, only those that are missing.
# Sourced or run by run.sh and test.sh.
set -euo pipefail

AVO_PACKAGES=(
  cmake g++ make googletest libgtest-dev clang-format
  qt6-base-dev libgl-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools binutils-mingw-w64-i686 libstb-dev
  wine64 xvfb xauth openbox xdotool x11-utils icoutils imagemagick
  python3 python3-pil fonts-dejavu-core fonts-liberation2
  python3-fonttools python3-brotli
  desktop-file-utils appstream lintian dpkg-dev file wixl msitools git
  python3-pyatspi at-spi2-core dbus locales
  weston xwayland qt6-wayland orca libwayland-dev pkg-config
)
# The web page: Emscripten builds it, Chromium runs its tests, npm fetches their driver.
AVO_PACKAGES+=(emscripten chromium)
command -v npm >/dev/null || AVO_PACKAGES+=(npm)

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"

# Installs the named packages that are not installed yet.
install_missing() {
  local package missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
      missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${AVO_PACKAGES[@]}"

# The shipped Windows program is the i686 one: its tests run under 32-bit Wine, which
# Debian ships for the i386 architecture.
if bash "$(dirname "${BASH_SOURCE[0]}")/runs-32bit-programs.sh"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "Adding the i386 architecture for 32-bit Wine"
    $sudo_cmd dpkg --add-architecture i386
    $sudo_cmd apt-get update -qq
  fi
  install_missing wine32:i386
else
  echo "note: this kernel does not run 32-bit programs: the Win32 tests of the i686 build are skipped"
fi

# The Qt tests run under Turkish and English locales too: the texts must not change with them.
for locale in tr_TR en_US; do
  locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$" ||
    localedef -i "$locale" -f UTF-8 "$locale.UTF-8" 2>/dev/null ||
    echo "note: could not generate $locale.UTF-8 (not root?)"
done
