#!/usr/bin/env bash
# The launcher's progress bar on the SDL backend under Xvfb (the gallery's live
# "progress" section): its highlight runs, so two screenshots a moment apart
# differ along the bar and nowhere beside it. (What animating it costs is a
# figure of bench/launcher_figures.sh.)
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_init "${1:?usage: progress.sh BUILD_DIR}"

# The server's socket may appear before it takes connections: wait until it does.
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

start_app "$BUILD/tools/gallery" --live progress
wait_window Gallery

# The bar: client (40, 52), 250 × 9, on a dark band from client (16, 36); the
# window has the plain 30-pixel title bar and a 3-pixel border.
bar_x=$((3 + 40)) bar_y=$((30 + 52))
row=$((bar_y + 4))
bar_points() {
  local points=()
  for x in $(seq "$bar_x" 2 $((bar_x + 249))); do points+=("$x" "$row"); done
  echo "${points[@]}"
}
# Beside the bar, on the band: left of it, and under it.
beside_points="$((bar_x - 10)) $row $((bar_x + 100)) $((bar_y + 14))"

# Wait for the first frame (the band's dark colour), then for the first glide
# to fill the bar: its far end lit.
for _ in $(seq 50); do
  shot "$WIN" "$E2E_TMP/first.png" && [ "$(pixels "$E2E_TMP/first.png" $beside_points)" = "212121
212121" ] && break
  sleep 0.1
done
for _ in $(seq 50); do
  shot "$WIN" "$E2E_TMP/full.png" &&
    [ "$(pixels "$E2E_TMP/full.png" $((bar_x + 248)) "$row")" != 212121 ] && break
  sleep 0.1
done
[ "$(pixels "$E2E_TMP/full.png" $((bar_x + 248)) "$row")" != 212121 ] ||
  fail "the bar did not fill"

# The highlight moves: screenshots a moment apart differ along the bar (the
# machine's load only makes that moment longer).
shot "$WIN" "$E2E_TMP/a.png"
mapfile -t a < <(pixels "$E2E_TMP/a.png" $(bar_points))
changed=0
for _ in $(seq 50); do
  sleep 0.1
  shot "$WIN" "$E2E_TMP/b.png" || continue
  mapfile -t b < <(pixels "$E2E_TMP/b.png" $(bar_points))
  changed=0
  for i in "${!a[@]}"; do [ "${a[$i]}" != "${b[$i]}" ] && changed=$((changed + 1)); done
  [ "$changed" -ge 10 ] && break
done
[ "$changed" -ge 10 ] ||
  fail "the highlight did not move: $changed of ${#a[@]} points along the bar changed in 5 s"
[ "$(pixels "$E2E_TMP/a.png" $beside_points)" = "$(pixels "$E2E_TMP/b.png" $beside_points)" ] ||
  fail "pixels beside the bar changed"
[ "$(pixels "$E2E_TMP/b.png" $beside_points)" = "212121
212121" ] || fail "the band beside the bar is not its dark colour"

close_and_wait
[ $E2E_STATUS -eq 0 ] && echo "progress: ok"
exit $E2E_STATUS
