# Sourced by scripts that need an X display: start_xvfb starts a private Xvfb on a
# free display number and exports DISPLAY once the server answers; stop_xvfb ends it.
# The server picks the number itself (-displayfd), so scripts started at the same
# moment never share a display (and never lose it when the other one stops).
# -noreset: by default the server starts over when its last client leaves, and
# a program connecting during that (just after the probe below) is refused.
start_xvfb() {
  local out n=
  out=$(mktemp) || return 1
  Xvfb -displayfd 3 -noreset -screen 0 1920x1080x24 -nolisten tcp 3>"$out" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 200); do
    read -r n <"$out" 2>/dev/null
    [ -n "$n" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$out"
  if [ -n "$n" ]; then
    export DISPLAY=":$n"
    # Written once it listens; still, wait for a first answer.
    for _ in $(seq 200); do
      if xdotool getdisplaygeometry >/dev/null 2>&1; then return 0; fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.05
    done
  fi
  kill "$XVFB_PID" 2>/dev/null
  XVFB_PID=
  echo "could not start Xvfb" >&2
  return 1
}
stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
  XVFB_PID=
}
