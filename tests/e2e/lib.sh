# Shared helpers of the end-to-end tests, sourced by tests/e2e/*.sh:
#
#   in_a11y_session SCRIPT ARGS  run the test on a private accessibility bus
#                         (first, before e2e_init; A11Y_TOOLS names tools it needs)
#   e2e_init BUILD        start a private Xvfb and clean up everything on exit;
#                         a test that fails prints the output of the programs it
#                         started (their errors, a sanitizer's report)
#   start_app CMD ARGS    start a program in the background (APP_PID), tracing
#                         its timer ticks (VARK_TRACE_TIMERS) into its output
#   wait_idle SECS ALLOW  wait until SECS seconds pass in which no timer ticks
#                         but those whose name matches the pattern ALLOW
#   wait_ticks PATTERN N  wait until timers matching PATTERN ticked N times from
#                         now (up to 30 s): the second of two ticks begins after
#                         the first has done its work
#   wait_window TITLE     wait for a visible window with exactly this title (WIN)
#   wait_end MESSAGE      the program must end with 0 within ten seconds (else
#                         MESSAGE is the failure)
#   close_and_wait        the window's close request; the program must end with 0
#   window_pos WIN        print "X Y" of the window on the screen
#   wait_window_at X Y    wait until the window WIN is at X,Y on the screen
#   shot WIN FILE         write the window's pixels to a PNG
#   pixels FILE X Y ...   print RRGGBB of each point of a PNG
#   fail MESSAGE          report a failure (the test ends with status 1)
E2E_STATUS=0
E2E_TMP=

# Runs the test again on a private session bus with the accessibility bus
# (scripts/a11y-session.sh), unless it runs there already; the test's tools
# (pyatspi, and those named) must be installed.
in_a11y_session() {
  [ -n "${VARK_A11Y_SESSION:-}" ] && return 0
  local tool
  for tool in "${A11Y_TOOLS[@]}"; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
  done
  /usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "FAIL: pyatspi is missing"; exit 1; }
  exec "$(dirname "${BASH_SOURCE[0]}")/../../scripts/a11y-session.sh" "$@"
}
A11Y_TOOLS=()

fail() {
  echo "FAIL: $*"
  E2E_STATUS=1
}

e2e_cleanup() {
  local status=$?
  if [ -n "${APP_PID:-}" ] && kill -0 "$APP_PID" 2>/dev/null; then
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
  fi
  if [ "$status" -ne 0 ] && [ -s "$E2E_TMP/app.log" ]; then
    echo "---- the output of the programs started (timer ticks left out)"
    grep -v '^timer: ' "$E2E_TMP/app.log"
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
  echo "== $*" >>"$E2E_TMP/app.log"
  VARK_TRACE_TIMERS=1 "$@" >>"$E2E_TMP/app.log" 2>&1 &
  APP_PID=$!
}

# The timer ticks traced since line FROM of the output that do not match ALLOW.
ticks_since() {
  tail -n +"$(($1 + 1))" "$E2E_TMP/app.log" | grep '^timer: ' | grep -v -E "$2"
}

wait_idle() {
  local seconds=$1 allow=${2:-'^$'} from busy
  for _ in $(seq 10); do
    from=$(wc -l <"$E2E_TMP/app.log")
    sleep "$seconds"
    busy=$(ticks_since "$from" "$allow")
    [ -z "$busy" ] && return 0
  done
  fail "still not idle; in the last $seconds s these timers ticked:"
  echo "$busy" | sort | uniq -c
  return 1
}

wait_ticks() {
  local pattern=$1 count=$2 from
  from=$(wc -l <"$E2E_TMP/app.log")
  for _ in $(seq 300); do
    [ "$(tail -n +"$((from + 1))" "$E2E_TMP/app.log" | grep -c -E "^timer: .*$pattern")" -ge "$count" ] &&
      return 0
    sleep 0.1
  done
  fail "the timer $pattern did not tick $count times in 30 s"
  return 1
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
  exit 1
}

wait_end() {
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    fail "$1"
    return 1
  fi
  wait "$APP_PID" || fail "the program ended with status $?"
  APP_PID=
}

close_and_wait() {
  "$BUILD/tools/xwin" close "$WIN"
  wait_end "the program did not end after its close request"
}

window_pos() {
  local X Y WIDTH HEIGHT SCREEN WINDOW
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$X $Y"
}

wait_window_at() {
  local x y
  for _ in $(seq 50); do
    read -r x y < <(window_pos "$WIN")
    [ "$x $y" = "$1 $2" ] && return 0
    sleep 0.1
  done
  echo "(the window is at $x,$y)"
  return 1
}

shot() {
  "$BUILD/tools/xwin" shot "$2" "$1"
}

pixels() {
  "$BUILD/tools/pngpixel" "$@"
}

# Whether a RRGGBB colour is dark (its red channel below the middle).
is_dark() {
  [ $((16#${1:0:2})) -lt 128 ]
}
