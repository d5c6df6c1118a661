#!/usr/bin/env bash
# Instructions per engine call against the raw C API doing the same work, counted by callgrind:
# steady where wall time on a busy machine is not.
#   scripts/bench-instructions.sh [BUILD]   (default build/release; needs valgrind)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/release}"
command -v valgrind >/dev/null || { echo "valgrind is not installed (apt-get install valgrind)" >&2; exit 1; }
[ -x "$build/bin/bench_engine" ] || { echo "No $build/bin/bench_engine: build the release preset first" >&2; exit 1; }
out="$(mktemp)"
trap 'rm -f "$out"' EXIT
valgrind --tool=callgrind --callgrind-out-file="$out" "$build/bin/bench_engine" \
  --benchmark_filter='PythonFunctionImpl::call/main|PythonModuleImpl::call/main' --benchmark_min_time=0.05 \
  >/dev/null 2>&1
# Inclusive instructions and call counts of each benchmark body, from the caller tree.
callgrind_annotate --tree=caller --inclusive=yes "$out" 2>/dev/null | awk '
  /^ *[0-9,]+ .*< .*\(([0-9,]+)x\)/ { match($0, /\(([0-9,]+)x\)/); calls = substr($0, RSTART + 1, RLENGTH - 3); gsub(",", "", calls) }
  /\* +\?\?\?:\(anonymous namespace\)::(functionCall|rawFunctionCall|moduleCall|rawModuleCall)\(\)/ {
    cost = $1; gsub(",", "", cost); name = $0; sub(/.*::/, "", name); sub(/\(\).*/, "", name)
    perCall[name] = cost / calls
  }
  END {
    printf "%-28s %10s %10s %7s\n", "case", "instr/call", "raw", "ratio"
    printf "%-28s %10.0f %10.0f %7.2f\n", "PythonFunctionImpl::call", perCall["functionCall"], perCall["rawFunctionCall"], perCall["functionCall"] / perCall["rawFunctionCall"]
    printf "%-28s %10.0f %10.0f %7.2f\n", "PythonModuleImpl::call", perCall["moduleCall"], perCall["rawModuleCall"], perCall["moduleCall"] / perCall["rawModuleCall"]
  }'
