#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR), once under a plain prefix
# and once under one with blanks, quotes, a dollar and a percent sign, and checks
# what the desktop needs to list the launcher: the program, its font alias file,
# its accessibility bridge, a valid desktop entry whose Exec names the program
# however odd its folder, and the icon in every size of the hicolor theme.
set -u
build=${1:?usage: install.sh BUILD_DIR}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }

command -v desktop-file-validate >/dev/null || { echo "FAIL: desktop-file-validate is missing (desktop-file-utils)"; exit 1; }

# "WIDTHxHEIGHT" from a PNG's header.
png_size() {
  od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%dx%d", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

# check PREFIX EXPECTED_EXEC_VALUE
check() {
  local prefix=$1 expected=$2
  local root="$stage/root$((++installs))"
  if ! DESTDIR="$root" cmake --install "$build" --prefix "$prefix" >"$stage/log" 2>&1; then
    cat "$stage/log"
    fail "cmake --install with prefix [$prefix]"
    return
  fi
  local dest="$root$prefix"
  [ -x "$dest/bin/valdor-launcher" ] || fail "[$prefix] no program in bin/"
  [ -f "$dest/share/valdor-launcher/fonts.conf" ] || fail "[$prefix] no font alias file"
  compgen -G "$dest/lib*/valdor-launcher/libvark-atspi.so" >/dev/null ||
    fail "[$prefix] no accessibility bridge in the library folder"
  local entry="$dest/share/applications/valdor-launcher.desktop"
  if [ ! -f "$entry" ]; then
    fail "[$prefix] no desktop entry"
    return
  fi
  desktop-file-validate "$entry" || fail "[$prefix] desktop-file-validate rejects the entry"
  grep -qx 'Name=Valdor III Launcher' "$entry" || fail "[$prefix] Name"
  grep -qx 'Icon=valdor-launcher' "$entry" || fail "[$prefix] Icon"
  grep -qx 'Type=Application' "$entry" || fail "[$prefix] Type"
  grep -q '^Categories=\(.*;\)\?Game;' "$entry" || fail "[$prefix] Categories lacks Game"
  local exec
  exec=$(grep '^Exec=' "$entry")
  [ "$exec" = "Exec=$expected" ] || fail "[$prefix] $exec, expected Exec=$expected"
  # Started from the menu, the launcher works in its own folder, beside which
  # the editions lie.
  local path
  path=$(grep '^Path=' "$entry")
  [ "$path" = "Path=$(printf '%s' "$prefix/bin" | sed 's/\\/\\\\/g')" ] || fail "[$prefix] $path, expected Path=$prefix/bin"
  for size in 16 24 32 48 64 128 256; do
    local icon="$dest/share/icons/hicolor/${size}x${size}/apps/valdor-launcher.png"
    if [ ! -f "$icon" ]; then
      fail "[$prefix] no ${size}x${size} icon"
    elif [ "$(png_size "$icon")" != "${size}x${size}" ]; then
      fail "[$prefix] the ${size}x${size} icon is $(png_size "$icon")"
    fi
  done
}

installs=0
check /usr '"/usr/bin/valdor-launcher"'
# Inside the quotes ", $ and \ take a backslash, which the file's own string
# escaping doubles; % is doubled so it is no field code.
check '/opt/Valdor "III" $games 100%' '"/opt/Valdor \\"III\\" \\$games 100%%/bin/valdor-launcher"'

[ $status -eq 0 ] && echo "install ok"
exit $status
