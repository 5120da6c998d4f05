#!/usr/bin/env bash
# The launcher under a window manager (openbox): a press of any button on the
# background hands the move over to the manager, which drags the window with
# the pointer; the manager keeps the drag's button release to itself, and still
# the first click after the drag selects a row (row 3, saved as selectedindex 3
# on close).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
command -v openbox >/dev/null || { echo "FAIL: openbox is missing"; exit 1; }
e2e_init "${1:?usage: launcher_wm.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home
openbox >/dev/null 2>&1 &  # ends with the X server
sleep 1                     # takes over the screen

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

# A plain stretch of the background, clear of every control: a drag with the
# left button, then one with the right button, which drags as well.
for button in 1 3; do
  drag_from 420 520 $button
  wait_window_at $((WX + 50)) $((WY + 40)) ||
    fail "the drag with button $button did not move the window from $WX,$WY by 50,40"
  read -r WX WY < <(window_pos "$WIN")
done

click_client 150 190
sleep 1
close_and_wait
settings="$DATA/AppSettings.txt"
[ "$(sed -n 4p "$settings" | tr -d '\r')" = 3 ] ||
  fail "the click after the drag did not select row 3 (saved: $(tr '\r\n' '  ' <"$settings"))"

[ $E2E_STATUS -eq 0 ] && echo "launcher_wm: ok"
exit $E2E_STATUS
