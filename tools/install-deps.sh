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

missing=()
for package in "${AVO_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The Qt tests run under Turkish and English locales too: the texts must not change with them.
for locale in tr_TR en_US; do
  locale -a 2>/dev/null | grep -qi "^${locale}\.utf-\?8$" ||
    localedef -i "$locale" -f UTF-8 "$locale.UTF-8" 2>/dev/null ||
    echo "note: could not generate $locale.UTF-8 (not root?)"
done
