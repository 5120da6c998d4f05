#!/usr/bin/env bash
# A gamepad on the real main window and the SDL backend: SDL's virtual
# joystick, attached inside a test program (there is no pad device on a
# build machine), drives the launcher under Xvfb: Down twice selects the third
# edition, A on Launch starts the game, B closes "Executable not found", a
# drifting stick changes nothing, unplugging while Down is held stops the
# repeat (tests/e2e/programs/sdl_gamepad_test.cpp).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: gamepad.sh BUILD_DIR}"

out=$("$BUILD/tests/sdl_gamepad_test" 2>&1)
status=$?
if [ $status -ne 0 ]; then
  fail "the gamepad tests failed (status $status)"
  printf '%s\n' "---- their output" "$out"
else
  echo "gamepad: ok"
fi
exit $E2E_STATUS
