#!/usr/bin/env bash
# The launcher on the SDL backend under Xvfb, driven like a player would: the
# window appears with the star on the first row; Launch starts the selected
# edition's game (a fake one that records how it was started) in the edition's
# folder, with the cheat switch once the box is ticked; a click on row 3 moves
# the star; the window sleeps while idle and stays light while the progress bar
# runs; and closing it writes the five files with CR LF line ends.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: launcher.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

put_recorder "$GAMES/Valdor III Tidemark/vtide HD.exe"
put_recorder "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

# The star marks row 1; row 3 has none.
star_row1=$(pixels "$E2E_TMP/frame.png" $((WX0 + 369)) 118)
star_row3=$(pixels "$E2E_TMP/frame.png" $((WX0 + 369)) 194)
[ "$star_row1" = FFFF00 ] || fail "no star on row 1 ($star_row1)"
[ "$star_row3" != FFFF00 ] || fail "a star on row 3 before any click"

# Launch: the first edition's game, no arguments, in its own folder. The CPU
# the launcher uses from the click until the bar has filled and hidden again.
before=$(cpu_ticks "$APP_PID")
click_client 197 492
record=$(wait_record "vtide HD.exe") || fail "Launch started nothing"
sleep 2
after=$(cpu_ticks "$APP_PID")
if [ -n "$record" ]; then
  [ "$(record_args "$record")" = "" ] || fail "the game got arguments: [$(record_args "$record")]"
  [ "$(cat "$record/cwd")" = "$(cd "$GAMES/Valdor III Tidemark" && pwd -P)" ] ||
    fail "the game ran in $(cat "$record/cwd")"
fi
launch_ticks=$((after - before))
echo "launch sequence: $launch_ticks clock ticks in 2 s"
[ "$launch_ticks" -le 10 ] || fail "the launch sequence used $launch_ticks clock ticks in 2 s (5 % is 10)"

# Idle: nothing animates, so nothing runs between the two-second scans.
sleep 0.5
before=$(cpu_ticks "$APP_PID")
sleep 4
after=$(cpu_ticks "$APP_PID")
echo "idle: $((after - before)) clock ticks in 4 s"
[ $((after - before)) -le 2 ] || fail "the idle launcher used $((after - before)) clock ticks in 4 s"

# The cheat box (its box is at the right end of its row), then row 3's caption
# and Launch: edition 3 with exactly the cheat switch.
click_client 731 307
click_client 150 193
moved=
for _ in $(seq 30); do
  sleep 0.1
  shot "$WIN" "$E2E_TMP/star.png" || continue
  if [ "$(pixels "$E2E_TMP/star.png" $((WX0 + 369)) 194)" = FFFF00 ] &&
    [ "$(pixels "$E2E_TMP/star.png" $((WX0 + 369)) 118)" != FFFF00 ]; then
    moved=yes
    break
  fi
done
[ -n "$moved" ] || fail "the star did not move to row 3"
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
for f in FolderLocations.txt ExecutableNames.txt LauncherNames.txt MapNames.txt; do
  check_crlf "$DATA/$f" 8
done
check_crlf "$DATA/AppSettings.txt" 4
[ "$(sed -n 1p "$DATA/AppSettings.txt")" = $'800\r' ] || fail "the stored width is not 800"
[ "$(sed -n 4p "$DATA/AppSettings.txt")" = $'3\r' ] || fail "the stored edition is not 3"
[ "$(sed -n 3p "$DATA/ExecutableNames.txt")" = $'Valdor3 HD.exe\r' ] ||
  fail "ExecutableNames.txt does not hold the default table"

[ $E2E_STATUS -eq 0 ] && echo "launcher: ok"
exit $E2E_STATUS
