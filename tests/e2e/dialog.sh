#!/usr/bin/env bash
# The message dialog on the SDL backend under Xvfb: a button of the gallery's
# dialog section opens one, which appears as a window of its own with its
# caption; a click on its "Ok" button closes it and the gallery reports 1;
# opened again, Escape closes it as its "Cancel" button and the gallery
# reports 2.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: dialog.sh BUILD_DIR}"

# The server's socket may appear before it takes connections: wait until it does.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

start_app "$BUILD/tools/gallery" --live dialogs
wait_window Gallery
gallery=$WIN
read -r gx gy < <(window_pos "$gallery")

# The section's first button, "Open information": client (16, 16), 200 × 36, in a
# window with the plain 30-pixel title bar and a 3-pixel border.
sleep 0.5
xdotool mousemove $((gx + 3 + 16 + 100)) $((gy + 30 + 16 + 18)) click 1
wait_window "Gallery information"
dialog=$WIN
[ "$dialog" != "$gallery" ] || fail "the dialog is not a window of its own"

# "Ok" is the rightmost button: 90 × 30 at (width - 110, client height - 35). The
# dialog draws its own title bar inside the client area, so the client area
# starts 3 pixels in from the left and at the top, and ends 3 above the bottom.
eval "$(xdotool getwindowgeometry --shell "$dialog")"
dx=$X dy=$Y dw=$WIDTH dh=$HEIGHT
[ "$dw" -gt 200 ] && [ "$dh" -ge 135 ] || fail "the dialog is ${dw}x${dh}"
sleep 0.3
xdotool mousemove $((dx + 3 + dw - 110 + 45)) $((dy + dh - 3 - 35 + 15)) click 1

gone=
for _ in $(seq 50); do
  if ! xdotool search --onlyvisible --name '^Gallery information$' >/dev/null 2>&1; then
    gone=yes
    break
  fi
  sleep 0.1
done
[ -n "$gone" ] || fail "the dialog is still open after the click on Ok"

answered=
for _ in $(seq 30); do
  grep -q '^dialog result: 1$' "$E2E_TMP/app.log" && { answered=yes; break; }
  sleep 0.1
done
[ -n "$answered" ] || fail "the gallery did not report the answer 1"

# Escape answers as the cancel button: the dialog of "Ok" and "Cancel" says 2.
sleep 0.3
xdotool mousemove $((gx + 3 + 16 + 100)) $((gy + 30 + 16 + 18)) click 1
wait_window "Gallery information"
# The key goes where the input focus is: on the dialog, with the pointer over
# its message (no window manager gives it the focus here).
eval "$(xdotool getwindowgeometry --shell "$WIN")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + 50))
xdotool windowfocus --sync "$WIN" 2>/dev/null
sleep 0.3
xdotool key Escape
escaped=
for _ in $(seq 50); do
  grep -q '^dialog result: 2$' "$E2E_TMP/app.log" && { escaped=yes; break; }
  sleep 0.1
done
[ -n "$escaped" ] || fail "Escape did not answer the dialog with Cancel (2)"

WIN=$gallery
close_and_wait
[ $E2E_STATUS -eq 0 ] && echo "dialog: ok"
exit $E2E_STATUS
