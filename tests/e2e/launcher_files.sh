#!/usr/bin/env bash
# The launcher and its five files on the SDL backend under Xvfb: it opens at
# the stored place; an edit of ExecutableNames.txt while it runs is picked up
# within about two seconds (Launch then starts the new program); the cross
# closes it through its close request, which saves. Then a short list file: the
# start-up shows one "Error" dialog, and the window opens once it is answered.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: launcher_files.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

crlf() { printf '%s\r\n' "$@"; }
mkdir -p "$DATA"
crlf "..\\Valdor III Tidemark" "..\\Valdor III Ashen Vow v3.4" "..\\Valdor III Complete Edition" \
  "..\\Valdor III Dawn of Velmar" "..\\Valdor III Pale Reach (nonguaranteed)" "..\\Valdor III EF" \
  "..\\Valdor III Lumen v2.8" "..\\Valdor III OVRE" >"$DATA/FolderLocations.txt"
crlf "vtide HD.exe" vashen.exe "Valdor3 HD.exe" "Valdor3 HD.exe" Valdor3_HD.exe vember.exe \
  vlumen.exe OVRE_client.exe >"$DATA/ExecutableNames.txt"
crlf HD_Starter.exe HD_Starter.exe HD_Starter.exe HD_Starter.exe HD_Starter.exe "" \
  "Tools\\Lumen Start Menu\\start.exe" OVRE_launcher.exe >"$DATA/LauncherNames.txt"
crlf vtide_maped.exe VASHMAPED.exe vmaped.exe vmaped.exe vmaped.exe vembmaped.exe vashmaped.exe "" \
  >"$DATA/MapNames.txt"
crlf 800 140 220 1 >"$DATA/AppSettings.txt"
put_recorder "$GAMES/Valdor III Tidemark/vtide HD.exe"
put_recorder "$GAMES/Valdor III Tidemark/patched.exe"

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
[ "$WX $WY" = "220 140" ] || fail "the window opened at $WX,$WY, not at the stored 220,140"
wait_first_frame

# The user edits the executable of edition 1 while the window is open.
sleep 0.5
sed -i '1s/.*/patched.exe\r/' "$DATA/ExecutableNames.txt"
wait_ticks ScanFile 2  # the first scan after the edit has run through
click_client 197 492
if record=$(wait_record patched.exe); then
  [ "$(cat "$record/cwd")" = "$(cd "$GAMES/Valdor III Tidemark" && pwd -P)" ] ||
    fail "patched.exe ran in $(cat "$record/cwd")"
else
  fail "the edited executable was not picked up"
  [ -d "$RECORDS/vtide HD.exe" ] && echo "(the old one was started)"
fi

# The cross in the top right corner closes the window, saving as it goes.
rm -f "$DATA/AppSettings.txt"
click_client 773 18
for _ in $(seq 100); do kill -0 "$APP_PID" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$APP_PID" 2>/dev/null; then
  fail "the cross did not close the window"
  close_and_wait
else
  wait "$APP_PID" || fail "the launcher ended with status $?"
  APP_PID=
fi
check_crlf "$DATA/AppSettings.txt" 4
[ "$(sed -n 1p "$DATA/ExecutableNames.txt")" = $'patched.exe\r' ] ||
  fail "the edited list was not saved back"

# A folder list one line short: one "Error" dialog at start, then the window.
# The list is mended while the dialog is up, so that the scans, which run
# meanwhile, load it without reports of their own.
cp "$DATA/FolderLocations.txt" "$E2E_TMP/folders"
sed -i '8d' "$DATA/FolderLocations.txt"
start_app "$BUILD/valdor-launcher"
wait_window "Error"
dialog=$WIN
[ "$(xdotool search --onlyvisible --name '^Error$' | wc -l)" -eq 1 ] || fail "more than one Error dialog"
cp "$E2E_TMP/folders" "$DATA/FolderLocations.txt"
"$BUILD/tools/xwin" close "$dialog"
wait_window "Valdor III Launcher"
sleep 0.5
[ -z "$(xdotool search --onlyvisible --name '^Error$')" ] || fail "a second Error dialog came up"
close_and_wait

[ $E2E_STATUS -eq 0 ] && echo "launcher_files: ok"
exit $E2E_STATUS
