#!/usr/bin/env bash
# The launcher on the SDL backend under Xvfb, driven like a player would on a
# first run: the window appears with the star on the first row; Launch starts
# the selected edition's game (a fake one that records how it was started) in
# the edition's folder, with the cheat switch once the box is ticked; once the
# bar has filled, no timer but the two-second scan ticks; "Folders" writes the
# four list files (not AppSettings.txt, which the close writes first) and opens
# FolderLocations.txt; the right button drags the window
# by its background; a click on row 3 moves the star; and closing it writes the
# five files with CR LF line ends.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: launcher.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

put_recorder "$GAMES/Valdor III Tidemark/vtide HD.exe"
put_recorder "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
put_recorder "$E2E_TMP/bin/xdg-open"  # the desktop's opener of files and folders
export PATH="$E2E_TMP/bin:$PATH"
cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

# The star marks row 1; row 3 has none.
wait_star_at 118 194 || fail "the star does not mark row 1 alone at start"

# Launch: the first edition's game, no arguments, in its own folder.
click_client 197 492
record=$(wait_record "vtide HD.exe") || fail "Launch started nothing"
if [ -n "$record" ]; then
  [ "$(record_args "$record")" = "" ] || fail "the game got arguments: [$(record_args "$record")]"
  [ "$(cat "$record/cwd")" = "$(cd "$GAMES/Valdor III Tidemark" && pwd -P)" ] ||
    fail "the game ran in $(cat "$record/cwd")"
fi

# Once the bar has filled and hidden, nothing animates: between the scans the
# window sleeps. (The bar's ticks are in the trace: the program does report.)
wait_idle 4 '^timer: Form1\.ScanFile '
grep -q '^timer: CProgress\.AnimationTimer (1 ms)$' "$E2E_TMP/app.log" ||
  fail "the timer trace shows no tick of the progress bar"

# No list file exists yet: "Folders" writes the four lists, then opens its list.
click_client 560 425
if record=$(wait_record xdg-open); then
  [ "$(head -n 1 "$record/args")" -ef "$DATA/FolderLocations.txt" ] ||
    fail "Folders opened [$(head -n 1 "$record/args")]"
else
  fail "Folders opened nothing"
fi
check_crlf "$DATA/FolderLocations.txt" 8
[ "$(sed -n 1p "$DATA/FolderLocations.txt")" = $'..\\Valdor III Tidemark\r' ] ||
  fail "FolderLocations.txt does not hold the default folders"
[ ! -e "$DATA/AppSettings.txt" ] || fail "Folders wrote AppSettings.txt before the close"

# A drag with the right button on the background moves the window.
xdotool mousemove $((WX + 420)) $((WY + 545)) mousedown 3
for step in 1 2 3 4 5; do
  sleep 0.05
  xdotool mousemove $((WX + 420 + 10 * step)) $((WY + 545 - 6 * step))
done
sleep 0.1
xdotool mouseup 3
wait_window_at $((WX + 50)) $((WY - 30)) ||
  fail "the right-button drag did not move the window from $WX,$WY by 50,-30"
read -r WX WY < <(window_pos "$WIN")

# The cheat box (its box is at the right end of its row), then row 3's caption
# and Launch: edition 3 with exactly the cheat switch.
click_client 731 307
click_client 150 193
wait_star_at 194 118 || fail "the star did not move to row 3"
click_client 197 492
record=$(wait_record "Valdor3 HD.exe") || fail "Launch started nothing for edition 3"
if [ -n "$record" ]; then
  [ "$(record_args "$record")" = "/tarnwisp" ] ||
    fail "edition 3 got [$(record_args "$record")], not [/tarnwisp]"
  [ "$(cat "$record/cwd")" = "$(cd "$GAMES/Valdor III Complete Edition" && pwd -P)" ] ||
    fail "edition 3 ran in $(cat "$record/cwd")"
fi

# Closing saves the table and the window's place, every line ending in CR LF.
close_and_wait
check_saved 3

[ $E2E_STATUS -eq 0 ] && echo "launcher: ok"
exit $E2E_STATUS
