# Sourced by the Windows end-to-end tests, with the test's arguments
# (WINDOWS_BUILD NATIVE_BUILD) and the name of its state folder:
#   . "$here/session.bash" wine-e2e "$@"
# Wine runs in a prefix, wineserver and X server of the test's own
# (WINDOWS_BUILD/NAME), stopped at the end: opening files and folders leaves
# Wine's own processes running. The native tree gives the screenshot and
# pixel tools. The user's name is not ASCII, so every path of the user's
# carries such characters, as in the Windows unit tests. Each recorder writes
# to $RECORD, in Windows' name VARK_SHELL_RECORD.
scripts=$(cd "$here/../../../scripts" && pwd)
. "$here/../lib.sh"
. "$here/../launcher_lib.bash"
. "$scripts/xvfb.sh"  # for lib.sh's clean-up; the X server is wine-run.sh's
usage="usage: $(basename "$0") WINDOWS_BUILD NATIVE_BUILD"
WINDOWS_BUILD=$(cd "${2:?$usage}" && pwd)
BUILD=$(cd "${3:?$usage}" && pwd)
for tool in xdotool Xvfb "$BUILD/tools/xwin" "$BUILD/tools/pngpixel"; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (make builds the native tools)"; exit 1; }
done

STATE=$WINDOWS_BUILD/$1
wine_run() { "$scripts/wine-run.sh" "$STATE" "$@"; }
E2E_TMP=$(mktemp -d)
trap 'status=$?; wine_run --stop; (exit $status); e2e_cleanup' EXIT

# Windows' name of a path here (Wine shows the root as drive Z:).
windows_path() { printf 'Z:%s' "${1//\//\\}"; }

export USER=Jörg
wine_run --start "$WINDOWS_BUILD/tests/DesktopSession.exe" || { echo "FAIL: no Wine session"; exit 1; }
export DISPLAY
DISPLAY=$(cat "$STATE/display")
DATA="$STATE/prefix/drive_c/users/$USER/AppData/Local/VarkelSoftware/Valdor III Launcher"
rm -rf "$DATA"

RECORD=$E2E_TMP/record.txt
export VARK_SHELL_RECORD
VARK_SHELL_RECORD=$(windows_path "$RECORD")
