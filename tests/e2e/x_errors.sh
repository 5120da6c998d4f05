#!/usr/bin/env bash
# A failed X request never ends the program, whenever it comes: while the
# backend runs and after SDL has shut down and put back the error handler it
# found (Xlib's own would end the program with status 1 and skip the saving
# close).
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: x_errors.sh BUILD_DIR}"

out=$("$BUILD/tests/x_error_probe" 2>&1)
status=$?
if [ $status -ne 0 ] || ! grep -q '^x_error_probe: survived$' <<<"$out"; then
  fail "a failed X request ended the program (status $status)"
elif [ "$(grep -c 'X request 25 failed' <<<"$out")" -ne 2 ]; then
  fail "the two failed requests were not each reported in one line"
fi
[ $E2E_STATUS -eq 0 ] && echo "x_errors: ok" || printf '%s\n' "---- its output" "$out"
exit $E2E_STATUS
