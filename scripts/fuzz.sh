#!/usr/bin/env bash
# Runs each fuzz target for the given number of seconds, starting from the seed
# corpus in tests/fuzz/corpus/NAME when there is one. A crash, leak, timeout or
# out-of-memory stops the run with the reproducer left in the build folder.
set -euo pipefail
build=$1 seconds=${2:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
shopt -s nullglob
targets=("$build"/fuzz/fuzz_*)
[ ${#targets[@]} -gt 0 ] || { echo "no fuzz targets built"; exit 1; }
for t in "${targets[@]}"; do
  name=${t##*/fuzz_}
  corpus=$build/corpus/$name
  mkdir -p "$corpus" "$build/artifacts/$name"
  seeds=()
  [ -d "$root/tests/fuzz/corpus/$name" ] && seeds=("$root/tests/fuzz/corpus/$name")
  echo "== fuzz $name for ${seconds}s"
  log=$build/artifacts/$name/fuzz.log
  if ! "$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$build/artifacts/$name/" "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    # The whole report: the sanitizer's stack and the reproducer's path.
    cat "$log"
    echo "fuzz $name failed (log: $log)"
    exit 1
  fi
  tail -n 12 "$log"
done
echo "all fuzz targets ran ${seconds}s each without a failure"
