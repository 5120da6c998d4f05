#!/usr/bin/env bash
# Whole-process figures of the launcher (in-process ones: bench_app):
#
#   1. build/tools/snapshot OUT.png, from process start to the PNG written:
#      wall-clock and processor time over RUNS runs (the least and the median);
#   2. the real program on SDL under Xvfb: resident memory (VmRSS, VmHWM) once
#      its first frame is on the screen, processor time and wake-ups while
#      idle, without a pad and with one (SDL's virtual joystick, put in by
#      bench/virtual_pad.so), and during the launch sequence (a click on
#      Launch, the bar filling and hiding);
#   3. the progress bar animating on its own (the gallery's live "progress"
#      section): processor time over 10 s;
#   4. the launcher on a session bus of its own (launcher_a11y_figures.sh):
#      idle and memory with no screen reader, and with one (the bridge loaded).
#
#   bench/launcher_figures.sh [BUILD_DIR] [RUNS]
#
# Each processor-time figure is set against its budget: idle 0.5 % of one
# core (1 % with a pad connected, which is read 60 times a second), the launch
# sequence 5 %, the animating bar 3 % (optimised build). They
# are figures, not tests: a busy machine or a sanitizer build shows more.
# Everything runs in a throw-away HOME, so the user's lists are not touched.
# The machine's load shows in wall-clock times: look at the processor time too.
set -u
build=$(cd "${1:-build}" && pwd)
runs=${2:-30}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/figures_lib.bash"
figures_home

# "least median" of the numbers on stdin, in milliseconds.
stats() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.1f %.1f", v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

echo "== snapshot: start to PNG, $runs runs"
"$build/tools/snapshot" "$tmp/warm.png" || exit 1  # fonts and pictures in the page cache
: >"$tmp/wall"
: >"$tmp/cpu"
for _ in $(seq "$runs"); do
  /usr/bin/time -f "%e %U %S" -o "$tmp/one" "$build/tools/snapshot" "$tmp/shot.png" || exit 1
  read -r e u s <"$tmp/one"
  awk -v e="$e" 'BEGIN { print e * 1000 }' >>"$tmp/wall"
  awk -v u="$u" -v s="$s" 'BEGIN { print (u + s) * 1000 }' >>"$tmp/cpu"
done
read -r wmin wmed < <(stats <"$tmp/wall")
read -r cmin cmed < <(stats <"$tmp/cpu")
echo "wall ms: least $wmin, median $wmed"
echo "cpu ms:  least $cmin, median $cmed (user + system, 10 ms resolution)"
if command -v perf >/dev/null && perf stat -e task-clock true >/dev/null 2>&1; then
  perf stat -e task-clock -r "$runs" "$build/tools/snapshot" "$tmp/shot.png" 2>&1 |
    awk '/task-clock/ { printf "task-clock ms: %s (mean)\n", $1 } /elapsed/ { printf "elapsed s: %s (mean)\n", $1 }'
fi

echo "== the launcher under Xvfb"
. "$here/../scripts/xvfb.sh"
start_xvfb || exit 1
unset WAYLAND_DISPLAY
export SDL_VIDEODRIVER=x11
mkdir -p "$tmp/games/launcher"
cd "$tmp/games/launcher" || exit 1
start_window "Valdor III Launcher" "$tmp/app.log" "$build/valdor-launcher"
# The first frame: the indicator's blue beside row 1.
for _ in $(seq 50); do
  "$build/tools/xwin" shot "$tmp/frame.png" "$win" &&
    [ "$("$build/tools/pngpixel" "$tmp/frame.png" 46 118)" = 0078D7 ] && break
  sleep 0.1
done
sleep 0.5
grep -E 'VmRSS|VmHWM' "/proc/$app_pid/status"

t0=$(ticks)
w0=$(wakeups)
sleep 10
t1=$(ticks)
report idle $((t1 - t0)) 10 0.5
echo "idle wake-ups: $(($(wakeups) - w0)) in 10 s (the two-second scan: 5)"
"$build/tools/xwin" close "$win"
wait "$app_pid"
app_pid=

# The same with a pad connected and the window active: the pad is read every
# 16 ms (about 625 wake-ups in 10 s, besides the scan's).
echo "== idle with a pad connected (SDL's virtual joystick: bench/virtual_pad.c)"
start_window "Valdor III Launcher" "$tmp/pad.log" \
  env LD_PRELOAD="$build/bench/virtual_pad.so" "$build/valdor-launcher"
sleep 1.5
t0=$(ticks)
w0=$(wakeups)
sleep 10
t1=$(ticks)
report "idle, a pad connected" $((t1 - t0)) 10 1
echo "idle wake-ups with a pad: $(($(wakeups) - w0)) in 10 s"
"$build/tools/xwin" close "$win"
wait "$app_pid"
app_pid=
start_window "Valdor III Launcher" "$tmp/app.log" "$build/valdor-launcher"
sleep 1.5

eval "$(xdotool getwindowgeometry --shell "$win")"
t0=$(ticks)
xdotool mousemove $((X + 3 + 197)) $((Y + 492)) click 1
sleep 0.3
# The dialog that says the edition is not installed: answer it.
dialog=$(xdotool search --onlyvisible --name '^Executable not found$' 2>/dev/null | head -n 1)
[ -n "$dialog" ] && "$build/tools/xwin" close "$dialog"
sleep 2
t1=$(ticks)
report "launch sequence" $((t1 - t0)) 2.3 5
grep -E 'VmRSS|VmHWM' "/proc/$app_pid/status"
"$build/tools/xwin" close "$win"
wait "$app_pid"
app_pid=

echo "== the progress bar animating (gallery --live progress)"
start_window Gallery "$tmp/gallery.log" "$build/tools/gallery" --live progress
sleep 2  # the first glide fills the bar; then only the highlight runs
t0=$(ticks)
sleep 10
t1=$(ticks)
report "animating bar" $((t1 - t0)) 10 3
"$build/tools/xwin" close "$win"
wait "$app_pid"
app_pid=

echo "== on a desktop session's bus: no screen reader, then one"
"$here/launcher_a11y_figures.sh" "$build"
