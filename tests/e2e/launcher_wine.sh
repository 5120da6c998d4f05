#!/usr/bin/env bash
# The launcher starting editions through the Wine this machine has, as a
# player's set-up leaves it: nothing stands in for Wine on PATH. The editions'
# programs are small Windows programs this tree cross-builds with MinGW-w64
# (BUILD/tests/wine/: Recorder64.exe and Recorder32.exe record their arguments
# and working folder, BrokenGame64.exe writes two lines to its error output
# and ends with status 3):
#   - Tidemark (64-bit): Launch starts the game with no arguments, and with
#     "/tarnwisp" once the cheat box is ticked; "Open launcher if avalabile"
#     starts its own launcher with "/tarnwisp" (the box is still ticked);
#     "Start map editor" starts the map editor with none; each in the
#     edition's folder.
#   - Ashen Vow (a 32-bit game, and no 32-bit Wine here): Launch brings
#     "Could not start", which says it is a 32-bit Windows program and names
#     wine32:i386, and the game records nothing.
#   - Complete Edition (the broken game): Launch brings "Could not start"
#     with the status 3 and the game's two lines.
# The dialogs are read as a screen reader reads them (AT-SPI, a11y_reader.py),
# so the launcher runs on a session bus of its own (scripts/a11y-session.sh).
# Wine runs in a prefix of the test's own, made before the launcher starts;
# its wineserver is stopped at the end, whatever happened.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
in_a11y_session "$0" "$@"
e2e_init "${1:?usage: launcher_wine.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

programs=$BUILD/tests/wine
for program in Recorder64 Recorder32 BrokenGame64; do
  [ -f "$programs/$program.exe" ] || {
    echo "FAIL: $programs/$program.exe is missing: the tree cross-builds it when it finds"
    echo "x86_64-w64-mingw32-gcc and i686-w64-mingw32-gcc (make test installs them)"
    exit 1
  }
done
for tool in wineboot wineserver; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (the wine package)"; exit 1; }
done

# Wine's own prefix, made now: a new prefix's first start sets itself up for
# many seconds, which a launch must not meet. Mono and Gecko are not offered.
export WINEPREFIX="$HOME/.wine"
stop_wine() {
  local status=$?
  timeout 20 wineserver -k >/dev/null 2>&1
  timeout 20 wineserver -w >/dev/null 2>&1
  (exit $status)
  e2e_cleanup
}
trap stop_wine EXIT
echo "== wineboot -i" >>"$E2E_TMP/app.log"
WINEDLLOVERRIDES="mscoree,mshtml=" timeout 120 wineboot -i >>"$E2E_TMP/app.log" 2>&1 ||
  { echo "FAIL: wineboot could not make the prefix"; exit 1; }

# A Linux path as Windows programs under Wine see it (drive Z: is /).
windows_path() {
  local p
  p=$(cd "$1" && pwd -P) || return 1
  echo "Z:${p//\//\\}"
}
export VARK_WINE_RECORDS
VARK_WINE_RECORDS=$(windows_path "$RECORDS")

tidemark="$GAMES/Valdor III Tidemark"
ashen="$GAMES/Valdor III Ashen Vow v3.4"
complete="$GAMES/Valdor III Complete Edition"
mkdir -p "$tidemark" "$ashen" "$complete"
for exe in "vtide HD.exe" HD_Starter.exe vtide_maped.exe; do
  cp "$programs/Recorder64.exe" "$tidemark/$exe"
done
cp "$programs/Recorder32.exe" "$ashen/vashen.exe"
cp "$programs/BrokenGame64.exe" "$complete/Valdor3 HD.exe"

reader() {
  /usr/bin/python3 "$here/a11y_reader.py" "$@" || { fail "the reader's step: $*"; return 1; }
}

# Waits for NAME's record (Wine starts a program in a second or two; a loaded
# machine may take longer) and checks its arguments (one line, blank-
# separated) and its working folder, then removes it for the next start.
expect_started() {
  local name=$1 args=$2 folder=$3 record="$RECORDS/$1"
  for _ in $(seq 600); do
    [ -d "$record" ] && break
    sleep 0.1
  done
  if [ ! -d "$record" ]; then
    fail "$name was not started through Wine within 60 s"
    return 1
  fi
  [ "$(tr '\n' ' ' <"$record/args" | sed 's/ $//')" = "$args" ] ||
    fail "$name got [$(tr '\n' ' ' <"$record/args")], not [$args]"
  [ "$(tr -d '\r\n' <"$record/cwd")" = "$(windows_path "$folder")" ] ||
    fail "$name ran in $(cat "$record/cwd"), not in $(windows_path "$folder")"
  rm -rf "$record"
}

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame
reader enable
reader check-start

# Tidemark, the first row: its game, plain and with the cheat switch, its own
# launcher (the box still ticked) and its map editor.
click_client 197 492
expect_started "vtide HD.exe" "" "$tidemark"
click_client 731 307
click_client 197 492
expect_started "vtide HD.exe" "/tarnwisp" "$tidemark"
click_client 616 379
expect_started HD_Starter.exe "/tarnwisp" "$tidemark"
click_client 616 198
expect_started vtide_maped.exe "" "$tidemark"

# Ashen Vow, a 32-bit game: no 32-bit Wine here, so it is not started.
click_client 150 156
reader expect-selected "Ashen Vow"
click_client 197 492
reader read-alert-with "Could not start" 30 "32-bit Windows program" "wine32:i386"
[ -e "$RECORDS/vashen.exe" ] && fail "the 32-bit game was started and recorded"

# The broken game ends at once: its status and the last lines of its error
# output, its own two lines last, are shown.
click_client 150 194
reader expect-selected Complete
click_client 197 492
reader read-alert-with "Could not start" 60 '\b3\b' \
  '\nbroken game: cannot load valdor3\.dll\nbroken game: giving up$'

close_and_wait
[ -e "$RECORDS/vashen.exe" ] && fail "the 32-bit game was started and recorded"

[ $E2E_STATUS -eq 0 ] && echo "launcher_wine: ok"
exit $E2E_STATUS
