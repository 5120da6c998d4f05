#!/usr/bin/env bash
# The launcher as a screen reader meets it, on a private session bus with the
# accessibility bus (scripts/a11y-session.sh: dbus-run-session, with
# at-spi-bus-launcher started on demand), driven from Python through AT-SPI
# (a11y_reader.py):
#   1. the screen reader starts after the launcher: its frame appears on the
#      bus with the list of eight editions, the first selected; "Complete" is
#      selected through the list, the cheat box toggled and Launch clicked
#      through their actions: the fake edition 3 starts with "/tarnwisp";
#      another edition's Launch brings the "Executable not found" alert,
#      whose text is read and whose Ok button has the focus; "Close" saves
#      edition 3.
#   2. the screen reader runs before the launcher starts: Tab moves the focus
#      to "Change window width", as a reader hears it; Down twice from the first
#      row selects edition 3 and puts the focus on it in the list (as the
#      reader finds it), Return there starts its game, and "Close" saves it.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
in_a11y_session "$0" "$@"
e2e_init "${1:?usage: accessibility.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

# One step of the reader; its words go to the test's output.
reader() {
  /usr/bin/python3 "$here/a11y_reader.py" "$@" || { fail "the reader's step: $*"; return 1; }
}

# Waits (30 s at most) until a reader started with `listen` into FILE says it
# listens, and a moment more for the program's bridge to hear of the new
# listener from the registry.
wait_listening() {
  for _ in $(seq 300); do
    grep -q '^listening$' "$1" && { sleep 0.3; return 0; }
    sleep 0.1
  done
  fail "the reader never started listening"
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
wait_end "the launcher did not end after the reader clicked Close"
[ "$(sed -n 4p "$DATA/AppSettings.txt")" = $'3\r' ] ||
  fail "AppSettings.txt holds edition [$(sed -n 4p "$DATA/AppSettings.txt")], not 3"

# 2. The reader runs already; the keyboard.
rm -f "$DATA/AppSettings.txt"
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
reader check-start
reader listen 5 >"$E2E_TMP/heard" &
listener=$!
wait_listening "$E2E_TMP/heard"
xdotool key Tab
wait "$listener"
grep -q '^focus: Change window width, push button$' "$E2E_TMP/heard" ||
  fail "after Tab the reader heard: $(cat "$E2E_TMP/heard")"
xdotool key Down
sleep 0.2
xdotool key Down
reader expect-focused-in-list Complete
rm -rf "$RECORDS/Valdor3 HD.exe"
xdotool key Return
wait_record "Valdor3 HD.exe" >/dev/null || fail "Return in the list started nothing for edition 3"
reader expect-selected Complete && reader click Close
wait_end "the launcher did not end after the reader clicked Close"
[ "$(sed -n 4p "$DATA/AppSettings.txt")" = $'3\r' ] ||
  fail "after Down twice AppSettings.txt holds [$(sed -n 4p "$DATA/AppSettings.txt")], not 3"

[ $E2E_STATUS -eq 0 ] && echo "accessibility: ok"
exit $E2E_STATUS
