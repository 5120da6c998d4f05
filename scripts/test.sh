#!/usr/bin/env bash
# Runs every test of the release tree, then of the sanitizer tree. Both run even
# when the first fails, and the output ends with CTest's own summary.
set -u
status=0
for dir in "$@"; do
  echo "== tests in $dir"
  (cd "$dir" && ctest --output-on-failure -j"$(nproc)" --timeout 600) || status=1
done
exit $status
