#!/usr/bin/env bash
# Installs the Debian 12 packages that are missing, so a second run costs a
# few dpkg queries.
#
#   scripts/install-deps.sh           what building and running the launcher
#                                     need (make run)
#   scripts/install-deps.sh --tests   that, and what the tests, the Windows
#                                     tree, the benchmarks and the fuzz targets
#                                     need (make test, make windows)
#
# Running: the program's -dev libraries and build tools, the fonts its window
# draws with, Xvfb (the headless run of make run, which finds the window with
# xdotool), Wine to start the editions (wine puts `wine` on PATH; wine64 is
# named so the 64-bit loader is what apt picks) and xdg-utils to open
# folders and the lists.
#
# 32-bit Wine (wine32:i386) is never installed here: it needs the i386
# architecture, and on build machines that cannot run 32-bit programs it
# breaks Wine and can replace the build's -dev packages. The README tells
# players how to add it; scripts/run.sh says so when it is missing.
#
# Tests: GoogleTest and Google Benchmark; MinGW-w64 for the Windows tree
# (posix threads) and the small Windows programs of the real-Wine test, 64-bit
# and 32-bit; xdotool and openbox drive the end-to-end tests; the
# accessibility test runs a private session bus with the accessibility bus
# (dbus, at-spi2-core) and reads the window with pyatspi, and the screen
# reader test runs Orca itself (orca brings speech-dispatcher, whose dummy
# module it speaks through); the Windows text tests link a CJK face to a font
# through the system's font link list and need two faces with the same
# ideographs (fonts-wqy-microhei has a proportional and a monospaced one,
# which Wine sees through fontconfig); clang builds the
# fuzz targets, with its fuzzer and sanitizer runtimes (libclang-rt-14-dev,
# which apt would take only as a recommendation); osslsigncode signs the
# Windows program (its test signs with a certificate made by openssl); the
# test of lists on a Cyrillic Windows runs Wine in the ru_RU.UTF-8 locale,
# made from the definitions of `locales` when it is missing.
set -euo pipefail
run_packages=(
  build-essential cmake ninja-build pkg-config
  libsdl2-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev libfribidi-dev libpng-dev
  libjpeg62-turbo-dev libpixman-1-dev libcanberra-dev libx11-dev libwayland-dev zlib1g-dev
  libdbus-1-dev libatk1.0-dev libatk-bridge2.0-dev
  fonts-open-sans fonts-dejavu-core fonts-symbola fonts-comic-neue
  xvfb xauth xdotool
  wine wine64
  xdg-utils
)
test_packages=(
  libgtest-dev libgmock-dev googletest libbenchmark-dev clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-i686-posix
  openbox desktop-file-utils
  dbus dbus-x11 at-spi2-core python3-pyatspi orca
  fonts-wqy-microhei osslsigncode openssl locales
)

packages=("${run_packages[@]}")
case "${1:-}" in
  "") ;;
  --tests) packages+=("${test_packages[@]}") ;;
  *) echo "usage: $0 [--tests]" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
sudo=
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if [ "${1:-}" = --tests ] && ! locale -a 2>/dev/null | grep -qix ru_RU.utf8; then
  echo "Making the locale ru_RU.UTF-8"
  $sudo localedef -i ru_RU -f UTF-8 ru_RU.UTF-8
fi
