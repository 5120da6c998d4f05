#!/usr/bin/env bash
# The display going away under a running program (its X server stops). The
# launcher, moved and with row 3 selected, saves as a close would, says which
# display it lost and ends at once with a non-zero status; the widget gallery
# ends the same way. Ten seconds is a bound only a hang can miss.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: display_lost.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

# Starts a program, noting where its output begins in the log.
start_watched() {
  FROM=$(cat "$E2E_TMP/app.log" 2>/dev/null | wc -l)
  start_app "$@"
}

# Stops the X server and waits for the program to end with a non-zero status
# and the line that names the display.
lose_display() {
  local display=$DISPLAY
  stop_xvfb
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    fail "$1 still runs 10 s after its display went away"
    kill -9 "$APP_PID"
  else
    wait "$APP_PID" && fail "$1 ended with status 0"
    tail -n +"$((FROM + 1))" "$E2E_TMP/app.log" |
      grep -q "connection to the display $display was lost" ||
      fail "$1 did not say that it lost $display"
  fi
  APP_PID=
}

cd "$GAMES/launcher" || exit 1
start_watched "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

# Drag by a plain stretch of the background, then pick row 3.
drag_from 420 520 1
wait_window_at $((WX + 50)) $((WY + 40)) || fail "the drag did not move the window by 50,40"
read -r WX WY < <(window_pos "$WIN")
click_client 150 190
sleep 0.5

lose_display "the launcher"
settings=$(tr -d '\r' 2>/dev/null <"$DATA/AppSettings.txt" | tr '\n' ' ')
[ "$settings" = "800 $WY $WX 3 " ] ||
  fail "AppSettings.txt holds [$settings], not the moved place $WX,$WY and row 3"
check_crlf "$DATA/MapNames.txt" 8

start_xvfb || exit 1
start_watched "$BUILD/tools/widgets"
wait_window Widgets
sleep 0.5
lose_display "the widget gallery"

[ $E2E_STATUS -eq 0 ] && echo "display_lost: ok"
exit $E2E_STATUS
