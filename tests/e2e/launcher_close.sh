#!/usr/bin/env bash
# How the launcher ends besides a plain close. SIGHUP (the terminal it was
# started from closing) while the "Executable not found" dialog is open: the
# five files are saved and the program ends. A data folder that cannot be
# written: the first close reports it and keeps the window, the second
# reports it again and closes.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: launcher_close.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame
click_client 197 492  # Launch: no edition is installed here
wait_window "Executable not found"
kill -HUP "$APP_PID"
if wait_end "SIGHUP did not end the launcher while its dialog was open"; then
  for file in FolderLocations ExecutableNames LauncherNames MapNames; do
    check_crlf "$DATA/$file.txt" 8
  done
  check_crlf "$DATA/AppSettings.txt" 4
fi

# A file where the data folder should be.
rm -rf "$DATA"
start_app "$BUILD/valdor-launcher"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame
rm -rf "$DATA"
echo "in the way" >"$DATA"
for attempt in first second; do
  click_client 773 18  # the cross
  wait_window "valdor-launcher"
  "$BUILD/tools/xwin" close "$WIN"
  [ "$attempt" = first ] || break
  sleep 0.5
  kill -0 "$APP_PID" 2>/dev/null || fail "the first failed save closed the window"
  WIN=$(xdotool search --onlyvisible --name '^Valdor III Launcher$' | head -n 1)
done
wait_end "the launcher stayed open after its save failed twice"

[ $E2E_STATUS -eq 0 ] && echo "launcher_close: ok"
exit $E2E_STATUS
