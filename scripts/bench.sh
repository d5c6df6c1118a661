#!/usr/bin/env bash
# Set-up, an optimised build, and every benchmark program (each prints its ratios).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
for b in build/release/bin/bench_*; do
  [ -x "$b" ] || continue
  echo "== $(basename "$b")"
  QT_QPA_PLATFORM=offscreen "$b" "$@"
done
