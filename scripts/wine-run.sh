#!/usr/bin/env bash
# Runs Windows programs of a cross-built tree under Wine, in a prefix of the
# tree's own, so nothing of the user's Wine set-up is used or changed:
#
#   wine-run.sh STATE PROGRAM.exe [ARGS...]   runs the program (CTest's emulator)
#   wine-run.sh STATE --start [KEEPER.exe]    makes the prefix if it is missing, starts
#                                             a wineserver that stays up, a private
#                                             X server (Xvfb) for the windows, and the
#                                             program that holds the desktop open
#                                             (tests/helpers/windows/DesktopSession)
#   wine-run.sh STATE --stop                  stops that wineserver, all that still
#                                             runs in the prefix, and the X server
#
# Programs see only the X server of --start (none without it), never the
# desktop of the user who runs the tests. All of them see it, windows or not:
# the first program of a session starts Wine's desktop process, whose display
# every later program uses, so one without the display would leave the
# windowed ones without theirs.
#
# STATE is a folder of the build tree: the prefix is STATE/prefix and HOME is
# STATE/home. A new prefix is made once with wineboot, under a lock, before any
# program starts in it: the first start in an empty prefix sets it up, and a
# program that meets that fails. Each Wine start costs a few tenths of a
# second less while one wineserver is kept up for the whole run.
set -u
state=$1
shift
mkdir -p "$state/home"
state=$(cd "$state" && pwd)
export WINEPREFIX=$state/prefix
export HOME=$state/home
export WINEDEBUG=${WINEDEBUG:--all}
# Wine reads names from the environment and the command line (the test user
# "Jörg", file names) in the locale's character set: UTF-8, whatever locale
# the caller has (under POSIX "Jörg" would become "JC6rg"). It takes the
# system's code pages from the locale too (C.UTF-8 gives the Western ones,
# ANSI 1252): a test of another language's system names a UTF-8 locale of
# that language in VARK_WINE_LOCALE (ru_RU.UTF-8 gives ANSI 1251). Such a
# locale must exist here: without it Wine still reports its code pages, but
# falls back to ASCII for file names, and "Jörg" cannot be found.
export LC_ALL=${VARK_WINE_LOCALE:-C.UTF-8}
if [ -n "${VARK_WINE_LOCALE:-}" ] &&
  ! locale -a 2>/dev/null | grep -qixF "$(echo "$VARK_WINE_LOCALE" | sed 's/\.UTF-8$/.utf8/I')"; then
  echo "wine-run: the locale $VARK_WINE_LOCALE is missing (scripts/install-deps.sh --tests makes it)" >&2
  exit 1
fi
# Our programs must not add entries to the desktop's menus.
overrides=winemenubuilder.exe=d
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$overrides
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
unset DISPLAY WAYLAND_DISPLAY
[ -s "$state/display" ] && export DISPLAY=$(cat "$state/display")

# Settings of the test prefix, applied once to a new prefix and to one made
# before they were added (the marker names the settings' version).
settings_marker=$WINEPREFIX/.settings-2
apply_settings() {
  # The test display has no window manager, for which Wine would wait two
  # seconds at every window's end: Wine places the windows itself.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
  # The font names the window asks for, mapped to the fonts Linux uses (a
  # change to the file wants a new marker version).
  "$wine" regedit /S "Z:$(cd "$(dirname "$0")" && pwd | tr / '\\')\\wine-fonts.reg"
}

make_prefix() {
  [ -f "$WINEPREFIX/.ready" ] && [ -f "$settings_marker" ] && return 0
  (
    flock 9
    if [ -f "$WINEPREFIX/.ready" ] && [ ! -f "$settings_marker" ]; then
      apply_settings >>"$state/wineboot.log" 2>&1 && touch "$settings_marker"
      exit
    fi
    [ -f "$WINEPREFIX/.ready" ] && exit 0
    rm -rf "$WINEPREFIX"
    # No Mono or Gecko installers: nothing here needs .NET or a web view.
    if ! WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mscoree,mshtml=d" "$wine" wineboot -i \
      >"$state/wineboot.log" 2>&1; then
      echo "wine-run: making the prefix $WINEPREFIX failed:" >&2
      cat "$state/wineboot.log" >&2
      exit 1
    fi
    # The prefix says it is Windows 10, the oldest system the program is for.
    "$wine" winecfg -v win10 >>"$state/wineboot.log" 2>&1
    apply_settings >>"$state/wineboot.log" 2>&1
    "$wineserver" -w
    touch "$settings_marker" "$WINEPREFIX/.ready"
  ) 9>"$state/prefix.lock"
}

# A private Xvfb, its display in STATE/display and its process in STATE/xvfb.pid.
start_display() {
  stop_display
  command -v Xvfb >/dev/null || return 0  # the tests that need it say so
  . "$(dirname "$0")/xvfb.sh"
  start_xvfb || return 1
  echo "$XVFB_PID" >"$state/xvfb.pid"
  echo "$DISPLAY" >"$state/display"
}
stop_display() {
  if [ -s "$state/xvfb.pid" ]; then
    kill "$(cat "$state/xvfb.pid")" 2>/dev/null
  fi
  rm -f "$state/xvfb.pid" "$state/display"
}

case "${1:-}" in
  --start)
    make_prefix || exit 1
    start_display || exit 1
    # A server left by a run that did not stop (or a start by hand) gives way.
    "$wineserver" -k 2>/dev/null
    # The server, and the system's own processes that the first program of a
    # session starts (services, devices), stay in the background: they must
    # not keep the caller's output open, since CTest waits for it to close.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || exit 1
    "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
    [ -n "${2:-}" ] || exit 0
    # The desktop is up before the first test: a test that started it would
    # have its output held open by it.
    ready=$state/desktop.ready
    rm -f "$ready"
    "$wine" "$2" "Z:${ready//\//\\}" </dev/null >/dev/null 2>&1 &
    for _ in $(seq 200); do
      [ -f "$ready" ] && exit 0
      sleep 0.05
    done
    echo "wine-run: the desktop did not come up" >&2
    exit 1
    ;;
  --stop)
    "$wineserver" -k 2>/dev/null
    stop_display
    exit 0
    ;;
  "")
    echo "usage: wine-run.sh STATE PROGRAM.exe [ARGS...] | --start | --stop" >&2
    exit 2
    ;;
esac
make_prefix || exit 1
exec "$wine" "$@"
