#!/usr/bin/env bash
# The launcher as a screen reader meets it, on a private session bus with the
# accessibility bus (dbus-run-session; at-spi-bus-launcher starts on demand),
# driven from Python through AT-SPI (a11y_reader.py):
#   1. the screen reader starts after the launcher: its frame appears on the
#      bus with the list of eight editions, the first selected; "Complete" is
#      selected through the list, the cheat box toggled and Launch clicked
#      through their actions: the fake edition 3 starts with "/tarnwisp";
#      another edition's Launch brings the "Executable not found" alert,
#      whose text is read and whose Ok button has the focus; "Close" saves
#      edition 3.
#   2. the screen reader runs before the launcher starts: Tab moves the focus
#      to "Change window width", as a reader hears it; Down twice from the first
#      row selects edition 3 (the list says so), and "Close" saves it.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ -z "${VARK_E2E_SESSION_BUS:-}" ]; then
  for tool in dbus-run-session /usr/libexec/at-spi-bus-launcher /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing"; exit 1; }
  done
  /usr/bin/python3 -c "import pyatspi" 2>/dev/null || { echo "FAIL: pyatspi is missing"; exit 1; }
  # The accessibility bus's socket goes into the runtime folder (else into
  # ~/.cache, shared with every other session of the user); no display is
  # named until the test's own, so the bus is announced on none.
  session=$(mktemp -d)
  mkdir -m 700 "$session/run"
  # The session's daemons announce every service they start: not news here.
  env -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$session/run" VARK_E2E_SESSION_BUS=1 \
    dbus-run-session -- "$0" "$@" > >(grep -v '^SpiRegistry daemon') 2> >(grep -v '^dbus-daemon' >&2)
  status=$?
  rm -rf "$session"
  exit $status
fi
. "$here/lib.sh"
e2e_init "${1:?usage: accessibility.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home
# The bus launcher keeps the session's accessibility setting in memory.
export GSETTINGS_BACKEND=memory

# One step of the reader; its words go to the test's output.
reader() {
  /usr/bin/python3 "$here/a11y_reader.py" "$@" || { fail "the reader's step: $*"; return 1; }
}

wait_exit() {
  for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$APP_PID" 2>/dev/null; then
    fail "$1"
  else
    wait "$APP_PID" || fail "the launcher ended with status $?"
  fi
  APP_PID=
}

put_recorder "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
cd "$GAMES/launcher" || exit 1

# 1. The reader comes after the launcher.
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
reader enable
reader check-start &&
  reader select Complete &&
  reader toggle-cheats &&
  reader click Launch
if record=$(wait_record "Valdor3 HD.exe"); then
  [ "$(record_args "$record")" = "/tarnwisp" ] ||
    fail "edition 3 got [$(record_args "$record")], not [/tarnwisp]"
else
  fail "Launch started nothing for edition 3"
fi
reader select "Ashen Vow" &&
  reader click Launch &&
  reader read-alert "Executable not found" \
    "The executable file for this version could not be found!" &&
  reader select Complete &&
  reader click Close
wait_exit "the launcher did not end after the reader clicked Close"
[ "$(sed -n 4p "$DATA/AppSettings.txt")" = $'3\r' ] ||
  fail "AppSettings.txt holds edition [$(sed -n 4p "$DATA/AppSettings.txt")], not 3"

# 2. The reader runs already; the keyboard.
rm -f "$DATA/AppSettings.txt"
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
reader check-start
reader listen 3 >"$E2E_TMP/heard" &
listener=$!
sleep 1
xdotool key Tab
wait "$listener"
grep -q '^focus: Change window width, push button$' "$E2E_TMP/heard" ||
  fail "after Tab the reader heard: $(cat "$E2E_TMP/heard")"
xdotool key Down
sleep 0.2
xdotool key Down
reader expect-selected Complete && reader click Close
wait_exit "the launcher did not end after the reader clicked Close"
[ "$(sed -n 4p "$DATA/AppSettings.txt")" = $'3\r' ] ||
  fail "after Down twice AppSettings.txt holds [$(sed -n 4p "$DATA/AppSettings.txt")], not 3"

[ $E2E_STATUS -eq 0 ] && echo "accessibility: ok"
exit $E2E_STATUS
