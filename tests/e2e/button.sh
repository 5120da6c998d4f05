#!/usr/bin/env bash
# Buttons on the SDL backend under Xvfb: the gallery's live launch button
# changes its look when the pointer comes over it, when it is pressed and when
# it is released (seen in screenshots), and the click reaches its handler.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: button.sh BUILD_DIR}"

# The server's socket may appear before it takes connections: wait until it does.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

start_app "$BUILD/tools/gallery" --live buttons
wait_window Gallery
read -r gx gy < <(window_pos "$WIN")

# The launch button: client (10, 10), 250 × 41, a 4-pixel border, in a window
# with the plain 30-pixel title bar and a 3-pixel border. The probe lies on the
# face's left end, where the gradient has hardly begun: the state's own colour.
bx=$((3 + 10)) by=$((30 + 10))
probe_x=$((bx + 12)) probe_y=$((by + 20))
face() {  # the probe's colour in a fresh screenshot, once the fade has ended
  sleep 0.4
  shot "$WIN" "$E2E_TMP/$1.png" && pixels "$E2E_TMP/$1.png" "$probe_x" "$probe_y"
}
red() { echo $((16#${1:0:2})); }
green() { echo $((16#${1:2:2})); }

# Wait for the first frame. The window gives the button the focus, which shows
# like the pointer over it: the face lights up orange.
first=
for _ in $(seq 50); do
  first=$(face first) && [ "$(red "$first")" -gt 230 ] && break
  first=
done
[ -n "$first" ] || fail "the focused launch button is not drawn lit (probe $(face first))"

# Over it and away again: the normal look, a dark brown, focus or not.
xdotool mousemove $((gx + probe_x)) $((gy + probe_y))
sleep 0.2
xdotool mousemove $((gx + 300)) $((gy + 600))
normal=$(face normal)
[ "$(red "$normal")" -gt 90 ] && [ "$(red "$normal")" -lt 160 ] ||
  fail "the button does not show its normal look after the pointer left ($normal)"

xdotool mousemove $((gx + probe_x)) $((gy + probe_y))
hover=$(face hover)
[ "$(red "$hover")" -gt 230 ] || fail "hovering did not light the face ($normal, then $hover)"

xdotool mousedown 1
pressed=$(face pressed)
[ "$pressed" != "$hover" ] && [ "$(green "$pressed")" -lt "$(green "$normal")" ] ||
  fail "pressing did not darken the face ($hover, then $pressed)"

xdotool mouseup 1
released=$(face released)
[ "$(red "$released")" -gt 230 ] || fail "the released button is not hovered again ($released)"
clicked=
for _ in $(seq 30); do
  grep -q '^button clicked: Launch$' "$E2E_TMP/app.log" && { clicked=yes; break; }
  sleep 0.1
done
[ -n "$clicked" ] || fail "the click did not reach the button's handler"

# Away from the button it is normal again.
xdotool mousemove $((gx + 300)) $((gy + 600))
left=$(face left)
[ "$left" = "$normal" ] || fail "the button did not return to its normal look ($left, not $normal)"

"$BUILD/tools/xwin" close "$WIN"
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "the gallery did not end after its close request"
APP_PID=
[ $E2E_STATUS -eq 0 ] && echo "button: ok"
exit $E2E_STATUS
