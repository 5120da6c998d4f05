#!/usr/bin/env bash
# The launcher started by a user the password database does not know, without
# HOME or XDG_CONFIG_HOME: its data folder cannot be named, so the start-up
# reports the error once and the window opens all the same (with the default
# accent colour, there being no settings to read); closing it saves the five
# files into the working folder.
# Needs root to run as such a user (setpriv); skipped otherwise.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
if [ "$(id -u)" -ne 0 ] || ! command -v setpriv >/dev/null; then
  echo "launcher_nouser: skipped (needs root and setpriv)"
  exit 0
fi
e2e_init "${1:?usage: launcher_nouser.sh BUILD_DIR}"
. "$here/launcher_lib.bash"
launcher_home
uid=54321
while getent passwd "$uid" >/dev/null; do uid=$((uid + 1)); done
chmod 755 "$E2E_TMP"
chmod -R 777 "$HOME" "$GAMES"

cd "$GAMES/launcher" || exit 1
start_app setpriv --reuid="$uid" --regid="$uid" --clear-groups \
  env -u HOME -u XDG_CONFIG_HOME "$BUILD/valdor-launcher"
# The report is titled after the program (no title is set).
report=
for _ in $(seq 100); do
  report=$(xdotool search --onlyvisible --name '^valdor-launcher$' 2>/dev/null | head -n 1)
  [ -n "$report" ] && break
  sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --name '^Valdor III Launcher$' 2>/dev/null)" ] ||
  fail "the window opened before the report was answered"
[ -n "$report" ] || { fail "no error report came up"; exit 1; }
"$BUILD/tools/xwin" close "$report"
wait_window "Valdor III Launcher"
wait_ticks ScanFile 2  # a scan or two: they find no list files, so no more reports
[ -z "$(xdotool search --onlyvisible --name '^valdor-launcher$' 2>/dev/null)" ] ||
  fail "another report came up"
close_and_wait
for f in FolderLocations.txt ExecutableNames.txt LauncherNames.txt MapNames.txt; do
  check_crlf "$GAMES/launcher/$f" 8
done
check_crlf "$GAMES/launcher/AppSettings.txt" 4

[ $E2E_STATUS -eq 0 ] && echo "launcher_nouser: ok"
exit $E2E_STATUS
