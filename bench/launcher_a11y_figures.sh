#!/usr/bin/env bash
# What the launcher costs while idle on a desktop session's bus: processor
# time, wake-ups and resident memory over 10 s in which nothing happens,
# first with the session's accessibility off (the program only follows the
# setting), then with a screen reader on (the AT-SPI bridge loaded and on the
# accessibility bus, the window listed once by a reader).
#
#   bench/launcher_a11y_figures.sh [BUILD_DIR]
#
# On a session bus of its own (scripts/a11y-session.sh) and Xvfb, in a
# throw-away HOME.
# Figures, not tests (see launcher_figures.sh).
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VARK_A11Y_SESSION:-}" ]; then
  [ -x /usr/libexec/at-spi-bus-launcher ] && command -v dbus-run-session >/dev/null ||
    { echo "skipped: no dbus-run-session or at-spi-bus-launcher"; exit 0; }
  exec "$here/../scripts/a11y-session.sh" "$0" "$@"
fi
build=$(cd "${1:-build}" && pwd)
. "$here/figures_lib.bash"
figures_home
mkdir -p "$tmp/games/launcher"
. "$here/../scripts/xvfb.sh"
start_xvfb || exit 1
export SDL_VIDEODRIVER=x11
reader() { /usr/bin/python3 "$here/../tests/e2e/a11y_reader.py" "$@"; }
bridge_loaded() { grep -q libvark-atspi "/proc/$app_pid/maps"; }

# NAME: processor time, wake-ups and memory over the next 10 s.
idle() {
  local t0 w0
  t0=$(ticks)
  w0=$(wakeups)
  sleep 10
  report "$1" $(($(ticks) - t0)) 10 0.5
  echo "$1: $(($(wakeups) - w0)) wake-ups in 10 s; $(grep VmRSS "/proc/$app_pid/status")"
}

cd "$tmp/games/launcher" || exit 1
start_window "Valdor III Launcher" "$tmp/app.log" "$build/valdor-launcher"
sleep 3  # the first frame, and the question to the session bus
idle "idle, no screen reader"
bridge_loaded && echo "the bridge is loaded without a screen reader"

reader enable
for _ in $(seq 50); do
  bridge_loaded && break
  sleep 0.1
done
if bridge_loaded; then
  reader tree >/dev/null
  sleep 3  # the reader's leaving settles
  idle "idle, a screen reader on"
else
  echo "no bridge loaded: this build has none"
fi
"$build/tools/xwin" close "$win"
wait "$app_pid"
app_pid=
