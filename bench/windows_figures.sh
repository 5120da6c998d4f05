#!/usr/bin/env bash
# Figures of the Windows backend's loop under Wine (bench/windows/loop_figures.cpp
# says which): the program in the Windows tree's own prefix, on its own X server.
#
#   bench/windows_figures.sh [WINDOWS_BUILD_DIR]
set -u
build=$(cd "${1:-build-windows}" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
run="$here/scripts/wine-run.sh $build/wine"
$run --start "$build/tests/DesktopSession.exe" || exit 1
trap '$run --stop' EXIT
$run "$build/bench/loop_figures.exe"
