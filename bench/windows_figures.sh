#!/usr/bin/env bash
# Figures of the Windows program under Wine, each set against its budget (they
# are figures for the notes, never test assertions):
#
#   1. the Windows backend's loop (bench/windows/loop_figures.cpp says which);
#   2. start-up: from "wine PROGRAM.exe" to the first frame on the screen, for
#      valdor-launcher.exe and for bench/windows/bare_first_frame.cpp (a bare
#      Win32 program that shows the same background, decoded with WIC, in a
#      window of the same size), ROUNDS rounds side by side after a warm-up
#      round; the first frame is the moment the position indicator's blue
#      appears on the screen (xwin wait-pixel, polled every millisecond);
#      budget: the launcher within 1.5 times the bare program;
#   3. the size of valdor-launcher.exe and of the zip (budget 8 MB, aim 4 MB);
#   4. processor time of the launcher under Wine (and of its wineserver), from
#      the scheduler's account: idle
#      for 10 s, nothing animating, five of the two-second scans (budget 0.5 %
#      of one core, as on Linux), and the launch sequence (a click on Launch,
#      the "Executable not found" dialog answered, the bar filling and hiding:
#      budget 5 %).
#
#   bench/windows_figures.sh [WINDOWS_BUILD_DIR] [NATIVE_BUILD_DIR] [ROUNDS]
#
# Everything runs in the Windows tree's own prefix, on its own X server; the
# native tree gives the X tools.
set -u
build=$(cd "${1:-build-windows}" && pwd)
native=$(cd "${2:-build}" && pwd)
rounds=${3:-15}
here=$(cd "$(dirname "$0")/.." && pwd)
run="$here/scripts/wine-run.sh $build/wine"
tmp=$(mktemp -d)
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  $run --stop
  rm -rf "$tmp"
}
$run --start "$build/tests/DesktopSession.exe" || exit 1
trap cleanup EXIT
export DISPLAY
DISPLAY=$(cat "$build/wine/display")

echo "== the loop"
$run "$build/bench/loop_figures.exe"

# The launcher starts in a games folder of its own, with no edition beside it.
mkdir -p "$tmp/games/Valdor III Launcher"
cd "$tmp/games/Valdor III Launcher" || exit 1
launcher_window() { xdotool search --onlyvisible --name '^Valdor III Launcher$' 2>/dev/null | head -n 1; }
# Both windows are 800 × 574 and centred on the screen; the indicator's blue
# lies at 46,118 of the window.
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
px=$(((screen_w - 800) / 2 + 46))
py=$(((screen_h - 574) / 2 + 118))

# A process's processor time so far in microseconds, from the scheduler's
# own account of its threads (exact, where /proc/PID/stat counts whole 10 ms
# clock ticks, though of ended threads too).
cpu_us() {
  [ -n "$1" ] && cat /proc/"$1"/task/*/schedstat | awk '{ t += $1 } END { printf "%d\n", t / 1000 }' ||
    echo 0
}
ticks_ms() { awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$1/stat"; }

# Milliseconds from the start of PROGRAM to the indicator on the screen, and
# the program's processor time until then (whole clock ticks, counting the
# threads that have ended); the program is then
# ended (the launcher closed, the bare program ends by itself).
first_frame() {
  local program=$1 watcher start seen
  "$native/tools/xwin" wait-pixel "$px" "$py" 0078D7 >"$tmp/seen" &
  watcher=$!
  sleep 0.1  # connected and polling
  start=$(date +%s%N)
  $run "$program" >>"$tmp/programs.log" 2>&1 &
  app_pid=$!
  wait "$watcher" || { echo "no first frame of $program"; cat "$tmp/programs.log"; exit 1; }
  seen=$(cat "$tmp/seen")
  awk -v d=$((seen - start)) -v t="$(ticks_ms "$app_pid")" 'BEGIN { printf "%.1f %d\n", d / 1e6, t }'
  if [ "${program##*/}" = valdor-launcher.exe ]; then
    sleep 0.3
    "$native/tools/xwin" close "$(launcher_window)"
  fi
  wait "$app_pid"
  app_pid=
}

# "least median" of the numbers on stdin.
stats() {
  sort -n | awk '{ v[NR] = $1 } END { printf "%.1f %.1f", v[1], (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'
}

echo "== start-up to the first frame, $rounds rounds side by side (after a warm-up round)"
first_frame "$build/valdor-launcher.exe" >/dev/null
first_frame "$build/bench/bare_first_frame.exe" >/dev/null
: >"$tmp/launcher"
: >"$tmp/bare"
for _ in $(seq "$rounds"); do
  first_frame "$build/valdor-launcher.exe" >>"$tmp/launcher"
  first_frame "$build/bench/bare_first_frame.exe" >>"$tmp/bare"
done
read -r lmin lmed < <(cut -d' ' -f1 "$tmp/launcher" | stats)
read -r bmin bmed < <(cut -d' ' -f1 "$tmp/bare" | stats)
read -r lcmin lcmed < <(cut -d' ' -f2 "$tmp/launcher" | stats)
read -r bcmin bcmed < <(cut -d' ' -f2 "$tmp/bare" | stats)
echo "valdor-launcher.exe: least $lmin ms, median $lmed ms ($(cut -d' ' -f1 "$tmp/launcher" | tr '\n' ' '))"
echo "  its processor time until then: least $lcmin ms, median $lcmed ms"
echo "bare_first_frame.exe: least $bmin ms, median $bmed ms ($(cut -d' ' -f1 "$tmp/bare" | tr '\n' ' '))"
echo "  its processor time until then: least $bcmin ms, median $bcmed ms"
# On a busy machine the least times are the ones the load touched least.
awk -v lm="$lmed" -v bm="$bmed" -v ll="$lmin" -v bl="$bmin" 'BEGIN {
  printf "ratio of the medians %.2f, of the least %.2f; budget 1.5: %s\n", lm / bm, ll / bl,
    (lm <= 1.5 * bm ? "within" : "OVER") }'

echo "== size"
for file in "$build/valdor-launcher.exe" "$build/valdor-launcher-win64.zip"; do
  awk -v n="$(stat -c %s "$file")" -v f="${file##*/}" 'BEGIN {
    printf "%s: %d bytes (%.2f MB); budget 8 MB: %s\n", f, n, n / 1048576, (n <= 8388608 ? "within" : "OVER") }'
done

echo "== processor time of the launcher under Wine"
VARK_TRACE_TIMERS=1 $run "$build/valdor-launcher.exe" >"$tmp/app.log" 2>&1 &
app_pid=$!
for _ in $(seq 100); do
  win=$(launcher_window)
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "no launcher window"; cat "$tmp/app.log"; exit 1; }
# Idle: the pointer away from the window (resting over it, Wine's emulation
# of the leave notice asks the X server for the pointer every 400 ms), and
# two seconds passed in which no timer but the scan ticked.
xdotool mousemove 0 0
timers_since() { tail -n +"$(($1 + 1))" "$tmp/app.log" | grep '^timer: ' | sort | uniq -c; }
for _ in $(seq 10); do
  from=$(wc -l <"$tmp/app.log")
  sleep 2
  timers_since "$from" | grep -qv 'Form1\.ScanFile' || break
done
# This prefix's wineserver: the one working in the prefix's server folder
# (named after the prefix's device and inode).
prefix_id=$(stat -c '%d %i' "$build/wine/prefix" | awk '{ printf "%x-%x", $1, $2 }')
server_pid=
for p in $(pgrep -x wineserver64) $(pgrep -x wineserver); do
  case "$(readlink "/proc/$p/cwd")" in */server-"$prefix_id") server_pid=$p ;; esac
done
report() {  # NAME MICROSECONDS SERVER_MICROSECONDS SECONDS BUDGET_PERCENT
  awk -v name="$1" -v t="$2" -v w="$3" -v s="$4" -v b="$5" 'BEGIN {
    p = t / 1e6 / s * 100
    printf "%s: %.1f ms of processor time in %s s, %.2f %% of one core; budget %s %%: %s; its wineserver %.1f ms\n",
      name, t / 1000, s, p, b, (p <= b ? "within" : "OVER"), w / 1000
  }'
}
t0=$(cpu_us $app_pid) s0=$(cpu_us "$server_pid") from=$(wc -l <"$tmp/app.log")
sleep 10
t1=$(cpu_us $app_pid) s1=$(cpu_us "$server_pid")
report idle $((t1 - t0)) $((s1 - s0)) 10 0.5
echo "  the timers that ticked:"
timers_since "$from"

eval "$(xdotool getwindowgeometry --shell "$win")"
t0=$(cpu_us $app_pid) s0=$(cpu_us "$server_pid")
xdotool mousemove $((X + 3 + 197)) $((Y + 492)) click 1
sleep 0.3
dialog=$(xdotool search --onlyvisible --name '^Executable not found$' 2>/dev/null | head -n 1)
[ -n "$dialog" ] && "$native/tools/xwin" close "$dialog"
sleep 2
t1=$(cpu_us $app_pid) s1=$(cpu_us "$server_pid")
report "launch sequence" $((t1 - t0)) $((s1 - s0)) 2.3 5
"$native/tools/xwin" close "$win"
wait "$app_pid"
app_pid=
