#!/usr/bin/env bash
# Runs every benchmark program of a build folder, one after the other.
set -euo pipefail
dir="$1"
status=0
for b in "$dir"/bench/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo "=== $(basename "$b")"
  QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$b" || status=1
done
exit $status
