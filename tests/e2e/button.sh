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
probe_x=$((3 + 10 + 12)) probe_y=$((30 + 10 + 20))
red() { echo $((16#${1:0:2})); }
green() { echo $((16#${1:2:2})); }
lit() { [ "$(red "$1")" -gt 230 ]; }                                   # hovered or focused
brown() { [ "$(red "$1")" -gt 90 ] && [ "$(red "$1")" -lt 160 ]; }      # normal or pressed
# Takes screenshots until the probe's colour passes the test given (the fade
# takes ten timer ticks); FACE is the last colour seen.
FACE=
wait_face() {
  local name=$1
  shift
  for _ in $(seq 30); do
    sleep 0.1
    shot "$WIN" "$E2E_TMP/$name.png" || continue
    FACE=$(pixels "$E2E_TMP/$name.png" "$probe_x" "$probe_y")
    "$@" "$FACE" && return 0
  done
  return 1
}

# The window gives the button the focus, which looks like the pointer over it.
wait_face first lit || fail "the focused launch button is not drawn lit ($FACE)"

# Over it and away again: the normal look, a dark brown, focus or not.
xdotool mousemove $((gx + probe_x)) $((gy + probe_y))
sleep 0.2
xdotool mousemove $((gx + 300)) $((gy + 600))
wait_face normal brown || fail "the button does not look normal after the pointer left ($FACE)"
normal=$FACE
sleep 0.3  # let the fade end
wait_face normal brown
normal=$FACE

xdotool mousemove $((gx + probe_x)) $((gy + probe_y))
wait_face hover lit || fail "hovering did not light the face ($normal, then $FACE)"

darker() { brown "$1" && [ "$(green "$1")" -lt "$(green "$normal")" ]; }
xdotool mousedown 1
wait_face pressed darker || fail "pressing did not darken the face ($normal, then $FACE)"

xdotool mouseup 1
wait_face released lit || fail "the released button is not lit again ($FACE)"
clicked=
for _ in $(seq 30); do
  grep -q '^button clicked: Launch$' "$E2E_TMP/app.log" && { clicked=yes; break; }
  sleep 0.1
done
[ -n "$clicked" ] || fail "the click did not reach the button's handler"

# Away from the button it is normal again.
same() { [ "$1" = "$normal" ]; }
xdotool mousemove $((gx + 300)) $((gy + 600))
wait_face left same || fail "the button did not return to its normal look ($FACE, not $normal)"

"$BUILD/tools/xwin" close "$WIN"
for _ in $(seq 50); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
kill -0 "$APP_PID" 2>/dev/null && fail "the gallery did not end after its close request"
APP_PID=
[ $E2E_STATUS -eq 0 ] && echo "button: ok"
exit $E2E_STATUS
