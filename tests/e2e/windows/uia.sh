#!/usr/bin/env bash
# The Windows program under Wine as a screen reader reads it through UI
# Automation: a client of the tests (tests/helpers/windows/UiaClient) asks
# Wine's own uiautomationcore.dll, never our code, for the window's tree. It
# finds the window by its name, the buttons, the check box and the edition
# list with its eight items in their places; after Tab the focus is on the
# next button; an edition without its program shows the error dialog, a
# dialog window with its message and its Ok button; the close ends the
# program, which lets go of what it gave the system, with status 0.
#
# Wine 8's client side has no patterns (UiaGetPatternProvider is a stub that
# raises an exception), no events (UiaAddEvent answers E_NOTIMPL) and reads
# neither the patterns' properties nor the bounding rectangle (E_NOTIMPL):
# the selection, the check box's state, Select, Toggle, Invoke, the bounds and
# the focus event are asked of the providers themselves in test_app
# (tests/app/windows/UiaProviderTest.cpp).
# Should the client manage to select here, the rest runs end to end: Select
# moves the star to "Complete", Toggle and Invoke start its game with the
# cheat switch, and the close saves edition 3.
#
#   uia.sh WINDOWS_BUILD NATIVE_BUILD
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.bash" wine-uia "$@"

# Edition 3 has its game; edition 1, selected at start, has none.
GAMES=$(cd "$E2E_TMP" && pwd -P)/games
mkdir -p "$GAMES/Valdor III Launcher" "$GAMES/Valdor III Complete Edition"
cp "$WINDOWS_BUILD/tests/ShellRecorder.exe" "$GAMES/Valdor III Complete Edition/Valdor3 HD.exe"
(cd "$GAMES/Valdor III Launcher" && cmake -E tar xf "$WINDOWS_BUILD/valdor-launcher-win64.zip") ||
  { echo "FAIL: the archive does not unpack"; exit 1; }

CLIENT=$WINDOWS_BUILD/tests/UiaClient.exe
# The client's answer for COMMAND TITLE [ARG], without CR, and its status.
client() {
  local out status
  out=$(wine_run "$CLIENT" "$@" 2>>"$E2E_TMP/app.log")
  status=$?
  tr -d '\r' <<<"$out"
  return $status
}
expect_line() {  # TREE LINE WHAT
  grep -qxF -- "$2" <<<"$1" || fail "$3: no line [$2] in:"$'\n'"$1"
}

cd "$GAMES/Valdor III Launcher" || exit 1
start_app wine_run "$GAMES/Valdor III Launcher/valdor-launcher.exe"
wait_window "Valdor III Launcher"
read -r WX WY < <(window_pos "$WIN")
wait_first_frame

tree=$(client tree "Valdor III Launcher") ||
  fail "the client cannot read the window (status $?): $tree"
[ "$(head -n 1 <<<"$tree")" = "window 'Valdor III Launcher' enabled" ] ||
  fail "the window reads as [$(head -n 1 <<<"$tree")]"
for button in Close Launch "Change window width" "Open valdor folder" "Start map editor" \
  "Open launcher if available" Folders Exes Launchers "Map exes"; do
  grep -qE "^  button '$button' enabled" <<<"$tree" || fail "no button '$button' in:"$'\n'"$tree"
done
expect_line "$tree" "  button 'Launch' enabled focusable focused" "the focus at start"
expect_line "$tree" "  check box 'Enable cheats menu' enabled focusable help='To access this menu you need to be in 16 bit color mode and in windowed mode. (F4)'" \
  "the check box, described by its note"
items=$(grep "^    list item " <<<"$tree")
expected_items="    list item 'Tidemark' enabled focusable 1/8
    list item 'Ashen Vow' enabled focusable 2/8
    list item 'Complete' enabled focusable 3/8
    list item 'Dawn of Velmar' enabled focusable 4/8
    list item 'Pale Reach' enabled focusable 5/8
    list item 'Emberfall' enabled focusable 6/8
    list item 'Lumen Generation 2' enabled focusable 7/8
    list item 'OVRE' enabled focusable 8/8"
[ "$items" = "$expected_items" ] || fail "the list items read as:"$'\n'"$items"
grep -q "^  list 'Editions' enabled focusable$" <<<"$tree" || fail "no edition list in:"$'\n'"$tree"
grep -q "progress bar" <<<"$tree" && fail "the hidden progress bar is in the tree"

# Tab moves the focus to the next button, as the reader finds it.
click_client 420 545  # the background: the window takes the keys
xdotool key Tab
sleep 0.3
tree=$(client tree "Valdor III Launcher")
expect_line "$tree" "  button 'Change window width' enabled focusable focused" "the focus after Tab"

# The patterns, where Wine's client side has them.
out=$(client select "Valdor III Launcher" Complete)
case $? in
  0)
    wait_star_at 194 118 || fail "Select did not move the star to row 3"
    client toggle "Valdor III Launcher" "Enable cheats menu" >/dev/null ||
      fail "the check box did not toggle"
    client invoke "Valdor III Launcher" Launch >/dev/null || fail "Launch was not invoked"
    for _ in $(seq 100); do [ -f "$RECORD" ] && break; sleep 0.1; done
    [ "$(tr -d '\r' <"$RECORD" 2>/dev/null | tail -n 1)" = /tarnwisp ] ||
      fail "the game did not get the cheat switch"
    rm -f "$RECORD"
    click_client 773 18
    wait_end "the cross did not end the program"
    check_saved 3
    [ $E2E_STATUS -eq 0 ] && echo "windows uia: ok"
    exit $E2E_STATUS
    ;;
  3) echo "note: $out: Select, Toggle and Invoke are tested at the providers (test_app Uia.*)" ;;
  *) fail "select: $out" ;;
esac

# Edition 1 has no program: the error dialog, as a reader finds it.
click_client 197 492  # Launch
launcher=$WIN
wait_window "Executable not found"
dialog=$(client tree "Executable not found")
[ "$(head -n 1 <<<"$dialog")" = "window 'Executable not found' enabled dialog" ] ||
  fail "the error dialog reads as [$(head -n 1 <<<"$dialog")]"
grep -qxF "  text 'The executable file for this version could not be found!' enabled" <<<"$dialog" ||
  fail "the dialog's message is not there:"$'\n'"$dialog"
grep -qE "^  button 'Ok' enabled focusable" <<<"$dialog" || fail "no Ok button in:"$'\n'"$dialog"
"$BUILD/tools/xwin" close "$WIN"
WIN=$launcher

# The close ends the program after it let go of its windows' providers.
sleep 0.5
click_client 773 18
wait_end "the cross did not end the program"

[ $E2E_STATUS -eq 0 ] && echo "windows uia: ok"
exit $E2E_STATUS
