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

# Stops the X server and waits for the program to end: its status in STATUS,
# or a failure that shows what the program wrote.
lose_display() {
  local display=$DISPLAY
  stop_xvfb
  STATUS=
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    fail "$1 still runs 10 s after its display went away"
    kill -9 "$APP_PID"
  else
    wait "$APP_PID"
    STATUS=$?
    [ "$STATUS" -ne 0 ] || fail "$1 ended with status 0"
    grep -q "connection to the display $display was lost" "$E2E_TMP/app.log" ||
      fail "$1 did not say that it lost $display"
  fi
  APP_PID=
  [ $E2E_STATUS -eq 0 ] || cat "$E2E_TMP/app.log"
}

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

# Drag by a plain stretch of the background, then pick row 3.
xdotool mousemove $((WX + 420)) $((WY + 520)) mousedown 1
for step in 1 2 3 4 5; do
  sleep 0.05
  xdotool mousemove $((WX + 420 + 10 * step)) $((WY + 520 + 8 * step))
done
sleep 0.1
xdotool mouseup 1
sleep 0.3
read -r NX NY < <(window_pos "$WIN")
[ "$NX $NY" = "$((WX + 50)) $((WY + 40))" ] || fail "the drag left the window at $NX,$NY"
WX=$NX WY=$NY
click_client 150 190
sleep 0.5

lose_display "the launcher"
settings=$(tr -d '\r' 2>/dev/null <"$DATA/AppSettings.txt" | tr '\n' ' ')
[ "$settings" = "800 $WY $WX 3 " ] ||
  fail "AppSettings.txt holds [$settings], not the moved place $WX,$WY and row 3"
check_crlf "$DATA/MapNames.txt" 8

start_xvfb || exit 1
start_app "$BUILD/tools/widgets"
wait_window Widgets
sleep 0.5
lose_display "the widget gallery"

[ $E2E_STATUS -eq 0 ] && echo "display_lost: ok"
exit $E2E_STATUS
