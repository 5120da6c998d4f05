#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# but only those that are missing, so a second run costs a few dpkg queries.
# The Windows tree needs MinGW-w64 (posix threads) to build and wine64 to run
# its tests; GoogleTest's sources (googletest) are built for it. The
# accessibility bridge builds against ATK and its AT-SPI bridge; its end-to-end
# test runs a private session bus with the accessibility bus (dbus, at-spi2-core)
# and reads the window with pyatspi.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config clang
  libsdl2-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev libfribidi-dev libpng-dev
  libjpeg62-turbo-dev libpixman-1-dev libcanberra-dev libx11-dev libwayland-dev zlib1g-dev
  libdbus-1-dev libatk1.0-dev libatk-bridge2.0-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-open-sans fonts-dejavu-core fonts-symbola fonts-comic-neue
  xvfb xauth xdotool desktop-file-utils openbox
  dbus dbus-x11 at-spi2-core python3-pyatspi
  xdg-utils
  g++-mingw-w64-x86-64-posix wine64
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
