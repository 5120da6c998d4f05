#!/usr/bin/env bash
# The Windows program under Wine and Xvfb, set up as a player would set it
# up: the archive unpacked into "Valdor III Launcher" beside two editions,
# whose programs record how they were started (tests/helpers/windows/
# ShellRecorder). The window appears with the star on row 1; Launch starts
# the first edition in its folder with no arguments; its folder opens in the
# file manager; "Folders" writes the five
# files and opens FolderLocations.txt in the text editor; a drag by the
# background moves the window; a click on row 3 moves the star; with the
# cheat box ticked Launch starts edition 3 with "/tarnwisp" in its folder;
# the cross closes the program, which leaves the five files in the user's
# AppData\Local\VarkelSoftware\Valdor III Launcher\ with CR LF line ends.
# With no pad connected, the four XInput slots are asked once at start and
# never while the window idles.
#
#   launcher.sh WINDOWS_BUILD NATIVE_BUILD
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.bash" wine-e2e "$@"

# A test takes each record away once read.
wait_record() {
  for _ in $(seq 100); do
    if [ -f "$RECORD" ]; then
      tr -d '\r' <"$RECORD"
      rm -f "$RECORD"
      return 0
    fi
    sleep 0.1
  done
  return 1
}

GAMES=$(cd "$E2E_TMP" && pwd -P)/games
mkdir -p "$GAMES/Valdor III Launcher" "$GAMES/Valdor III Tidemark" \
  "$GAMES/Valdor III Complete Edition"
cp "$WINDOWS_BUILD/tests/ShellRecorder.exe" "$GAMES/Valdor III Tidemark/vtide HD.exe"
cp "$WINDOWS_BUILD/tests/ShellRecorder.exe" "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
(cd "$GAMES/Valdor III Launcher" && cmake -E tar xf "$WINDOWS_BUILD/valdor-launcher-win64.zip") ||
  { echo "FAIL: the archive does not unpack"; exit 1; }
# The text editor: a recorder registered for .txt (Debian's Wine has none).
cp "$WINDOWS_BUILD/tests/ShellRecorder.exe" "$E2E_TMP/editor.exe"
wine_run reg add 'HKLM\Software\Classes\.txt' /ve /d ValdorTestText /f >/dev/null 2>&1
wine_run reg add 'HKLM\Software\Classes\ValdorTestText\shell\open\command' /ve \
  /d "\"$(windows_path "$E2E_TMP/editor.exe")\" \"%1\"" /f >/dev/null 2>&1

cd "$GAMES/Valdor III Launcher" || exit 1
# Wine's XInput traces each request for a pad's state: with no pad the
# program looks at the four slots once at start and never again while idle.
WINEDEBUG=-all,trace+xinput start_app wine_run "$GAMES/Valdor III Launcher/valdor-launcher.exe"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame
pad_asks() { grep -c 'trace:xinput:XInputGetState' "$E2E_TMP/app.log"; }
asked=$(pad_asks)
[ "$asked" -eq 4 ] || fail "the four pad slots were asked $asked times at start, not 4"
sleep 2
[ "$(pad_asks)" -eq "$asked" ] || fail "the pad slots were asked again while idle with no pad"

wait_star_at 118 194 || fail "the star does not mark row 1 alone at start"

# A record: the working folder, the program, then each argument.
check_start() {  # RECORD FOLDER PROGRAM ARGS
  local folder program args
  folder=$(sed -n 1p <<<"$1")
  program=$(sed -n 2p <<<"$1")
  args=$(tail -n +3 <<<"$1" | tr '\n' ' ' | sed 's/ $//')
  [ "${folder%\\}" = "$(windows_path "$GAMES/$2")" ] || fail "$3 ran in [$folder], not in $2"
  [ "${program##*\\}" = "$3" ] || fail "[$program] started, not $3"
  [ "$args" = "$4" ] || fail "$3 got [$args], not [$4]"
}

click_client 197 492  # Launch
if record=$(wait_record); then
  check_start "$record" "Valdor III Tidemark" "vtide HD.exe" ""
else
  fail "Launch started nothing"
fi

# "Open valdor folder" shows the edition's folder in the file manager (Wine's
# explorer, which stays running until the session ends).
launcher=$WIN
click_client 615 153
wait_window "Valdor III Tidemark"
"$BUILD/tools/xwin" close "$WIN"
WIN=$launcher

# No list file exists yet: "Folders" writes the five files, then opens its list.
click_client 560 425
if record=$(wait_record); then
  [ "$(sed -n 3p <<<"$record")" = 'C:\users\Jörg\AppData\Local\VarkelSoftware\Valdor III Launcher\FolderLocations.txt' ] ||
    fail "Folders opened [$(sed -n 3p <<<"$record")]"
else
  fail "Folders opened nothing"
fi
check_crlf "$DATA/FolderLocations.txt" 8

# A drag by the background moves the window (through the system's move).
drag_from 420 545 1
wait_window_at $((WX + 50)) $((WY + 40)) ||
  fail "the drag did not move the window from $WX,$WY by 50,40"
read -r WX WY < <(window_pos "$WIN")

# The cheat box, then row 3's caption and Launch.
click_client 731 307
click_client 150 193
wait_star_at 194 118 || fail "the star did not move to row 3"
click_client 197 492
if record=$(wait_record); then
  check_start "$record" "Valdor III Complete Edition" "Valdor3 HD.exe" "/tarnwisp"
else
  fail "Launch started nothing for edition 3"
fi

# The cross closes the program, which saves the table and the window's place.
click_client 773 18
wait_end "the cross did not end the program"
check_saved 3

[ $E2E_STATUS -eq 0 ] && echo "windows launcher: ok"
exit $E2E_STATUS
