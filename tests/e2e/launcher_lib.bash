# Helpers of the launcher's end-to-end tests (sourced after lib.sh):
#
#   launcher_home          a HOME, XDG folders and a games folder of the test's own:
#                          GAMES/launcher is the launcher's working folder, the
#                          editions lie beside it; DATA is the launcher's data folder
#   put_recorder PATH      a fake program that records its arguments and working
#                          folder under RECORDS/<its name>/
#   wait_record NAME       waits for NAME's record and prints its folder
#   record_args DIR        the recorded arguments, one line, blank-separated
#   wait_first_frame       waits until the window shows the indicator (frame.png)
#   click_client X Y       clicks a point of the window's client area
#   drag_from X Y BUTTON   presses BUTTON at a point of the window, moves the
#                          pointer by 50,40 in five steps and lets go
#   check_crlf FILE N      FILE has exactly N lines, each ending in CR LF
#   wait_star_at Y OTHER   waits until the star marks the row at Y of the window
#                          and not the one at OTHER
#   check_saved EDITION    the five files in DATA as a close leaves them: the
#                          default table, width 800 and EDITION selected, CR LF

# The client area starts 3 pixels into the window (the border on the left).
WX0=3

launcher_home() {
  export HOME="$E2E_TMP/home"
  export XDG_DATA_HOME="$HOME/.local/share" XDG_CONFIG_HOME="$HOME/.config"
  export XDG_STATE_HOME="$HOME/.local/state" XDG_CACHE_HOME="$HOME/.cache"
  GAMES="$E2E_TMP/games"
  RECORDS="$E2E_TMP/records"
  DATA="$XDG_DATA_HOME/VarkelSoftware/Valdor III Launcher"
  mkdir -p "$HOME" "$GAMES/launcher" "$RECORDS"
}

put_recorder() {
  mkdir -p "$(dirname "$1")"
  cat >"$1" <<SCRIPT
#!/bin/sh
out="$RECORDS/\$(basename "\$0")"
mkdir -p "\$out.tmp"
printf '%s\n' "\$@" > "\$out.tmp/args"
pwd -P > "\$out.tmp/cwd"
mv "\$out.tmp" "\$out"
SCRIPT
  chmod +x "$1"
}

wait_record() {
  for _ in $(seq 50); do
    [ -d "$RECORDS/$1" ] && { echo "$RECORDS/$1"; return 0; }
    sleep 0.1
  done
  return 1
}

record_args() {
  tr '\n' ' ' <"$1/args" | sed 's/ $//'
}

wait_first_frame() {
  for _ in $(seq 50); do
    shot "$WIN" "$E2E_TMP/frame.png" &&
      [ "$(pixels "$E2E_TMP/frame.png" $((WX0 + 43)) 118)" = 0078D7 ] && return 0
    sleep 0.1
  done
  fail "the window never showed its indicator"
}

click_client() {
  xdotool mousemove $((WX + WX0 + $1)) $((WY + $2)) click 1
  sleep 0.2
}

drag_from() {
  xdotool mousemove $((WX + $1)) $((WY + $2))
  sleep 0.2
  xdotool mousedown "$3"
  sleep 0.2
  for step in 1 2 3 4 5; do
    xdotool mousemove $((WX + $1 + 10 * step)) $((WY + $2 + 8 * step))
    sleep 0.1
  done
  xdotool mouseup "$3"
}

check_crlf() {
  local file=$1 lines=$2
  [ -f "$file" ] || { fail "$file was not written"; return; }
  [ "$(wc -l <"$file")" -eq "$lines" ] || fail "$file has $(wc -l <"$file") lines, not $lines"
  [ "$(grep -c $'\r$' "$file")" -eq "$lines" ] || fail "$file has lines without CR LF"
}

wait_star_at() {
  for _ in $(seq 30); do
    sleep 0.1
    shot "$WIN" "$E2E_TMP/star.png" || continue
    [ "$(pixels "$E2E_TMP/star.png" $((WX0 + 369)) "$1")" = FFFF00 ] &&
      [ "$(pixels "$E2E_TMP/star.png" $((WX0 + 369)) "$2")" != FFFF00 ] && return 0
  done
  return 1
}

check_saved() {
  local f
  for f in FolderLocations.txt ExecutableNames.txt LauncherNames.txt MapNames.txt; do
    check_crlf "$DATA/$f" 8
  done
  check_crlf "$DATA/AppSettings.txt" 4
  [ "$(sed -n 1p "$DATA/AppSettings.txt")" = $'800\r' ] || fail "the stored width is not 800"
  [ "$(sed -n 4p "$DATA/AppSettings.txt")" = "$1"$'\r' ] || fail "the stored edition is not $1"
  [ "$(sed -n 3p "$DATA/ExecutableNames.txt")" = $'Valdor3 HD.exe\r' ] ||
    fail "ExecutableNames.txt does not hold the default table"
}
