# Shared helpers of the end-to-end tests, sourced by tests/e2e/*.sh:
#
#   e2e_init BUILD        start a private Xvfb and clean up everything on exit
#   start_app CMD ARGS    start a program in the background (APP_PID)
#   wait_window TITLE     wait for a visible window with exactly this title (WIN)
#   window_pos WIN        print "X Y" of the window on the screen
#   shot WIN FILE         write the window's pixels to a PNG
#   pixels FILE X Y ...   print RRGGBB of each point of a PNG
#   cpu_ticks PID         user + system time of a process, in clock ticks
#   fail MESSAGE          report a failure (the test ends with status 1)
E2E_STATUS=0
E2E_TMP=

fail() {
  echo "FAIL: $*"
  E2E_STATUS=1
}

e2e_cleanup() {
  if [ -n "${APP_PID:-}" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
  fi
  stop_xvfb
  [ -n "$E2E_TMP" ] && rm -rf "$E2E_TMP"
}

e2e_init() {
  BUILD=$(cd "${1:?the build folder}" && pwd)
  local here
  here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  # shellcheck source=/dev/null
  . "$here/../../scripts/xvfb.sh"
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
  done
  E2E_TMP=$(mktemp -d)
  trap e2e_cleanup EXIT
  unset WAYLAND_DISPLAY
  export SDL_VIDEODRIVER=x11
  start_xvfb || { echo "FAIL: cannot start Xvfb"; exit 1; }
}

start_app() {
  "$@" >"$E2E_TMP/app.log" 2>&1 &
  APP_PID=$!
}

wait_window() {
  local title=$1
  WIN=
  for _ in $(seq 100); do
    WIN=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$WIN" ] && return 0
    kill -0 "$APP_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "FAIL: no window titled \"$title\" appeared"
  cat "$E2E_TMP/app.log"
  exit 1
}

window_pos() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y"
}

shot() {
  "$BUILD/tools/xwin" shot "$2" "$1"
}

pixels() {
  "$BUILD/tools/pngpixel" "$@"
}

cpu_ticks() {
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# Whether a RRGGBB colour is dark (its red channel below the middle).
is_dark() {
  [ $((16#${1:0:2})) -lt 128 ]
}
