#!/usr/bin/env bash
# Runs Windows programs of a cross-built tree under Wine, in a prefix of the
# tree's own, so nothing of the user's Wine set-up is used or changed:
#
#   wine-run.sh STATE PROGRAM.exe [ARGS...]   runs the program (CTest's emulator)
#   wine-run.sh STATE --start                 makes the prefix if it is missing and
#                                             starts a wineserver that stays up
#   wine-run.sh STATE --stop                  stops that wineserver and all that still
#                                             runs in the prefix
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
# Our programs must not add entries to the desktop's menus.
overrides=winemenubuilder.exe=d
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}$overrides
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

make_prefix() {
  [ -f "$WINEPREFIX/.ready" ] && return 0
  (
    flock 9
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
    "$wineserver" -w
    touch "$WINEPREFIX/.ready"
  ) 9>"$state/prefix.lock"
}

case "${1:-}" in
  --start)
    make_prefix || exit 1
    # The server, and the system's own processes that the first program of a
    # session starts (services, devices), stay in the background: they must
    # not keep the caller's output open, since CTest waits for it to close.
    "$wineserver" -p </dev/null >/dev/null 2>&1 || exit 1
    exec "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
    ;;
  --stop)
    "$wineserver" -k 2>/dev/null
    exit 0
    ;;
  "")
    echo "usage: wine-run.sh STATE PROGRAM.exe [ARGS...] | --start | --stop" >&2
    exit 2
    ;;
esac
make_prefix || exit 1
exec "$wine" "$@"
