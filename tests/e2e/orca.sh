#!/usr/bin/env bash
# The launcher with a real screen reader: Orca, on a private session bus with
# the accessibility bus (scripts/a11y-session.sh), under Xvfb with openbox, its
# speech going to speech-dispatcher's dummy module and every utterance read
# from its debug log (orca_log.py) as the player would hear it:
#   1. the launcher opens with Orca running: with no key pressed, Orca says the
#      window's title and "Launch push button";
#   2. Insert+T, Orca's own command, reaches Orca while the launcher has the
#      focus: Orca says the time; in Orca's learn mode (Insert+H) Down and
#      Escape go to Orca alone;
#   3. Down, Down, then Return: Orca says "Complete", and the third edition's
#      game starts (a recording stand-in), not the first's;
#   4. Up, then Return: the second edition has no game, Orca reads the alert
#      "Executable not found"; Escape closes it and Orca is back in the
#      launcher's frame.
# Every wait on Orca is bounded; a failure prints what Orca said.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
[ -x /usr/lib/speech-dispatcher-modules/sd_dummy ] ||
  { echo "FAIL: speech-dispatcher's dummy module is missing"; exit 1; }
A11Y_TOOLS=(orca speech-dispatcher openbox dbus-send flock pgrep)
in_a11y_session "$0" "$@"
e2e_init "${1:?usage: orca.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

SPEECH="$E2E_TMP/speech"
ORCA_LOG="$E2E_TMP/orca.log"
: >"$SPEECH"
ORCA_PID=
WM_PID=

stop_orca() {
  if [ -n "$ORCA_PID" ] && kill -0 "$ORCA_PID" 2>/dev/null; then
    kill "$ORCA_PID" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$ORCA_PID" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$ORCA_PID" 2>/dev/null
    wait "$ORCA_PID" 2>/dev/null
  fi
  ORCA_PID=
}

orca_cleanup() {
  local status=$?
  [ "$E2E_STATUS" -ne 0 ] && status=1
  stop_orca
  [ -n "$WM_PID" ] && kill "$WM_PID" 2>/dev/null
  if [ "$status" -ne 0 ]; then
    echo "---- what Orca said"
    cat "$SPEECH"
    echo "---- Orca's last log lines"
    tail -n 40 "$ORCA_LOG" 2>/dev/null
  fi
  (exit "$status")
  e2e_cleanup
}
trap orca_cleanup EXIT

# Lines Orca said from line FROM of the speech file on.
said_since() {
  tail -n +"$(($1 + 1))" "$SPEECH"
}

# Waits (up to SECS seconds) until Orca has said something matching the
# extended pattern since line FROM; false with a failure otherwise.
wait_said() {
  local from=$1 pattern=$2 seconds=${3:-20} what=$4
  for _ in $(seq $((seconds * 10))); do
    said_since "$from" | grep -q -E "$pattern" && return 0
    sleep 0.1
  done
  fail "$what: Orca did not say /$pattern/ in $seconds s; since then it said:"
  said_since "$from"
  return 1
}

mark() {
  wc -l <"$SPEECH"
}

# Presses KEY and waits (20 s at most) until Orca says something matching
# PATTERN; WHAT names the step in a failure.
key_said() {
  local from
  from=$(mark)
  xdotool key "$1"
  wait_said "$from" "$2" 20 "$3"
}

# A desktop: a window manager gives windows the focus as they open.
openbox >"$E2E_TMP/openbox.log" 2>&1 &
WM_PID=$!

# Accessibility on, as a desktop turns it on for a screen reader.
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Set string:org.a11y.Status string:IsEnabled variant:boolean:true \
  >/dev/null || { echo "FAIL: the accessibility bus does not start"; exit 1; }
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus \
  org.freedesktop.DBus.Properties.Set string:org.a11y.Status \
  string:ScreenReaderEnabled variant:boolean:true >/dev/null

# Speech into nothing: speech-dispatcher's dummy module (Orca's client starts
# the server; without a sound device it gives up, and Orca still logs what it
# would have said).
mkdir -p "$XDG_CONFIG_HOME/speech-dispatcher" "$E2E_TMP/orca-prefs"
cat >"$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'CONF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
CONF
# Orca runs once per user: another one refuses to start, and --replace would
# kill the first, which may be the screen reader of the person running the
# tests, or the Orca of a test running in another tree. Tests take turns, and
# a screen reader in use is never replaced.
exec 9>"${TMPDIR:-/tmp}/vark-orca-test.$(id -u).lock"
flock -w 240 9 || { echo "FAIL: another Orca test kept its turn for 4 minutes"; exit 1; }
if others=$(pgrep -u "$(id -u)" -x orca); then
  echo "FAIL: an Orca of this user runs already (pid $(echo $others)); the test does not replace it"
  exit 1
fi
/usr/bin/python3 "$here/orca_log.py" "$SPEECH" "$ORCA_LOG" \
  orca -u "$E2E_TMP/orca-prefs" >"$E2E_TMP/orca.out" 2>&1 &
ORCA_PID=$!
wait_said 0 "SPEECH OUTPUT: 'Screen reader on" 60 "Orca's start" || exit 1

put_recorder "$GAMES/Valdor III Tidemark/vtide HD.exe"
put_recorder "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
cd "$GAMES/launcher" || exit 1

# 1. The start, no key pressed.
from=$(mark)
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
wait_said "$from" "SPEECH OUTPUT: 'Valdor III Launcher" 20 "the start" &&
  wait_said "$from" "SPEECH OUTPUT: 'Launch push button" 20 "the start"

# 2. Orca's command while the launcher has the focus: the time (hh:mm).
key_said Insert+t "SPEECH OUTPUT: '[0-9]{1,2}[:.][0-9]{2}" "Insert+T"
# In learn mode Orca takes every key: its Down must not reach the list (step
# 3 finds the selection where it was), nor its Escape anything.
key_said Insert+h "SPEECH OUTPUT: 'Entering learn mode" "Insert+H"
key_said Down "SPEECH OUTPUT: '[Dd]own" "Down in learn mode"
key_said Escape "SPEECH OUTPUT: 'Exiting learn mode" "Escape in learn mode"

# 3. The keyboard chooses the edition that starts.
key_said Down "SPEECH OUTPUT: '.*Ashen Vow" "the first Down"
key_said Down "SPEECH OUTPUT: '.*Complete" "the second Down"
xdotool key Return
if record=$(wait_record "Valdor3 HD.exe"); then
  [ "$(record_args "$record")" = "" ] ||
    fail "edition 3 got arguments: [$(record_args "$record")]"
else
  fail "Return after Down, Down started nothing for edition 3"
fi
[ -d "$RECORDS/vtide HD.exe" ] && fail "Return started the first edition's game"

# 4. An edition without its game: the alert, and Escape.
key_said Up "SPEECH OUTPUT: '.*Ashen Vow" "Up"
from=$(mark)
xdotool key Return
wait_said "$from" "SPEECH OUTPUT: '.*Executable not found" 20 "Return on Ashen Vow" &&
  wait_window "Executable not found"
key_said Escape "SPEECH OUTPUT: 'Valdor III Launcher frame" "Escape on the alert"
for _ in $(seq 50); do
  xdotool search --onlyvisible --name "^Executable not found\$" >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool search --onlyvisible --name "^Executable not found\$" >/dev/null 2>&1 &&
  fail "the alert is still open after Escape"

wait_window "Valdor III Launcher"
close_and_wait

[ $E2E_STATUS -eq 0 ] && echo "orca: ok"
exit $E2E_STATUS
