# Helpers of the figure scripts (sourced):
#
#   figures_home                   a throw-away HOME in a new folder (tmp), removed on
#                                  exit with the program started (app_pid) and Xvfb
#   start_window TITLE LOG CMD...  starts a program and waits for its window (win)
#   ticks                          the program's processor time in clock ticks
#   wakeups                        how often its threads were put to run so far
#   report NAME TICKS SECONDS BUDGET   a processor-time figure against its budget

figures_home() {
  tmp=$(mktemp -d)
  export HOME="$tmp/home" XDG_DATA_HOME="$tmp/home/.local/share" XDG_CONFIG_HOME="$tmp/home/.config"
  export XDG_STATE_HOME="$tmp/home/.local/state" XDG_CACHE_HOME="$tmp/home/.cache"
  mkdir -p "$HOME"
  app_pid=
  trap figures_cleanup EXIT
}
figures_cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  stop_xvfb 2>/dev/null
  rm -rf "$tmp"
}

# Starts a program (its output to LOG) and waits for its window TITLE:
# app_pid and win.
start_window() {
  local title=$1 log=$2
  shift 2
  "$@" >"$log" 2>&1 &
  app_pid=$!
  for _ in $(seq 100); do
    win=$(xdotool search --onlyvisible --name "^$title\$" 2>/dev/null | head -n 1)
    [ -n "$win" ] && return 0
    sleep 0.1
  done
  echo "no window titled $title"
  cat "$log"
  exit 1
}

ticks() { awk '{ print $14 + $15 }' "/proc/$app_pid/stat"; }
wakeups() {
  cat "/proc/$app_pid"/task/*/status 2>/dev/null |
    awk '/^(non)?voluntary_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
hz=$(getconf CLK_TCK)
# NAME TICKS SECONDS BUDGET_PERCENT: the figure, its share of one core and
# whether it keeps within the budget.
report() {
  awk -v name="$1" -v t="$2" -v s="$3" -v b="$4" -v hz="$hz" 'BEGIN {
    p = t / hz / s * 100
    printf "%s: %d clock ticks in %s s (1 tick = %d ms), %.2f %% of one core; budget %s %%: %s\n",
      name, t, s, 1000 / hz, p, b, (p <= b ? "within" : "OVER")
  }'
}
