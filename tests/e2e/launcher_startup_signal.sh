#!/usr/bin/env bash
# SIGTERM while the start-up "Could not load the application data!" dialog is
# open, before the main window has shown: the five files are saved, with what
# the failed load took in, and the program ends with status 0.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: launcher_startup_signal.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home

# Seven folders: the load fails at the eighth line.
mkdir -p "$DATA"
printf 'a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n' >"$DATA/FolderLocations.txt"

cd "$GAMES/launcher" || exit 1
start_app "$BUILD/valdor-launcher"
wait_window "Error"
kill -TERM "$APP_PID"
if wait_end "SIGTERM did not end the launcher while its start-up dialog was open"; then
  check_saved 1
  [ "$(sed -n 7p "$DATA/FolderLocations.txt")" = $'g\r' ] ||
    fail "FolderLocations.txt lost what the load took in: [$(sed -n 7p "$DATA/FolderLocations.txt")]"
fi

[ $E2E_STATUS -eq 0 ] && echo "launcher_startup_signal: ok"
exit $E2E_STATUS
