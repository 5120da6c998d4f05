#!/usr/bin/env bash
# Runs a command on a desktop session bus of its own, on which the
# accessibility bus starts on demand (at-spi-bus-launcher), as on a desktop
# where a screen reader may run. The session gets its own runtime folder (the
# accessibility bus's socket goes there, not into ~/.cache, which every
# session of the user shares), names no display (so the bus is announced on
# none until the command starts its own) and keeps its settings in memory;
# the daemons' notes on the services they start are left out.
#
#   scripts/a11y-session.sh COMMAND [ARGS...]
#
# Inside, VARK_A11Y_SESSION is set.
set -u
for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
done
session=$(mktemp -d)
mkdir -m 700 "$session/run"
env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$session/run" GSETTINGS_BACKEND=memory \
  VARK_A11Y_SESSION=1 dbus-run-session -- "$@" \
  > >(grep -v '^SpiRegistry daemon') 2> >(grep -v '^dbus-daemon' >&2)
status=$?
rm -rf "$session"
exit $status
