#!/usr/bin/env bash
# Starts the launcher. On a machine without a display it runs it under Xvfb,
# waits until the window has drawn, writes BUILD/launcher.png and closes the
# window through its close request (which saves the lists, as a user's close does).
# It first says how to add 32-bit Wine when there is none that works: the
# editions are 32-bit Windows programs, which Debian's 64-bit Wine alone cannot
# start.
set -u
build=${1:-build}
here=$(cd "$(dirname "$0")" && pwd)
bin=$build/valdor-launcher
title='Valdor III Launcher'

# Debian's 32-bit Wine loader; on a machine that cannot run 32-bit programs it
# is there but fails, which counts as missing.
wine32=/usr/lib/wine/wine
if ! { [ -x "$wine32" ] && "$wine32" --version >/dev/null 2>&1; }; then
  cat <<'HINT'
Note: no working 32-bit Wine was found (/usr/lib/wine/wine). The editions are
32-bit Windows programs, so they need it to start. As root:
  dpkg --add-architecture i386 && apt-get update && apt-get install wine32:i386
HINT
fi

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  exec "$bin"
fi

. "$here/xvfb.sh"
start_xvfb || exit 1
trap stop_xvfb EXIT
echo "No display: running the launcher under Xvfb on $DISPLAY"
"$bin" &
pid=$!
win=
for _ in $(seq 100); do
  win=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
  [ -n "$win" ] && break
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if [ -z "$win" ]; then
  echo "The launcher did not open its window."
  wait $pid
  exit 1
fi
sleep 1  # let the first frames and the start-up animations settle
"$build/tools/xwin" shot "$build/launcher.png" "$win" && echo "Screenshot: $build/launcher.png"
"$build/tools/xwin" close "$win"
for _ in $(seq 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
if kill -0 $pid 2>/dev/null; then
  echo "The launcher did not close after its close request."
  kill $pid
  exit 1
fi
wait $pid
