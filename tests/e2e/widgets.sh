#!/usr/bin/env bash
# The widget gallery on the SDL backend under Xvfb: the window is found by its
# title, a click ticks its check box (seen in a screenshot), a press on its title
# bar drags it, it costs no processor time while idle, and a close request ends it.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: widgets.sh BUILD_DIR}"

start_app "$BUILD/tools/widgets"
wait_window Widgets
read -r x y < <(window_pos "$WIN")

# The gallery's check box: client (16, 84), 200 × 17, its 13-pixel box centred
# vertically at the left; the client area starts 3 pixels into the window.
box_left=$((3 + 16)) box_top=$((84 + 2))
box_points() {
  local points=()
  for dy in 3 5 7 9; do
    for dx in 3 5 7 9; do points+=($((box_left + dx)) $((box_top + dy))); done
  done
  echo "${points[@]}"
}
dark_in_box() {
  local n=0
  for c in $(pixels "$1" $(box_points)); do is_dark "$c" && n=$((n + 1)); done
  echo $n
}

# Wait for the first frame: the title band's dark colour at its left end.
for _ in $(seq 50); do
  shot "$WIN" "$E2E_TMP/before.png" && [ "$(pixels "$E2E_TMP/before.png" 10 5)" = 212121 ] && break
  sleep 0.1
done
[ "$(pixels "$E2E_TMP/before.png" 10 5)" = 212121 ] || fail "the title band is not drawn"
[ "$(dark_in_box "$E2E_TMP/before.png")" -eq 0 ] || fail "the check box is ticked before the click"

xdotool mousemove $((x + box_left + 6)) $((y + box_top + 6)) click 1
ticked=0
for _ in $(seq 30); do
  sleep 0.1
  shot "$WIN" "$E2E_TMP/after.png" || continue
  ticked=$(dark_in_box "$E2E_TMP/after.png")
  [ "$ticked" -ge 3 ] && break
done
[ "$ticked" -ge 3 ] || fail "the click did not tick the check box ($ticked dark pixels in the box)"

# Drag by the title bar: press on the band, move in steps, release.
xdotool mousemove $((x + 200)) $((y + 15)) mousedown 1
for step in 1 2 3 4 5; do
  sleep 0.05
  xdotool mousemove $((x + 200 + 24 * step)) $((y + 15 + 10 * step))
done
sleep 0.1
xdotool mouseup 1
wait_window_at $((x + 120)) $((y + 50)) || fail "the drag did not move the window by 120,50"

# Idle: no timer runs (and no input comes), so the process sleeps.
wait_idle 2

close_and_wait
[ $E2E_STATUS -eq 0 ] && echo "widgets: ok"
exit $E2E_STATUS
