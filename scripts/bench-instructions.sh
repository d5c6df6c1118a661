#!/usr/bin/env bash
# Instructions per engine call against the raw C API doing the same work (and pybind11, when the
# benchmark has it), counted by callgrind: steady where wall time on a busy machine is not.
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
  /\* +\?\?\?:\(anonymous namespace\)::(functionCall|rawFunctionCall|moduleCall|rawModuleCall|peerCall|peerModuleCall)\(\)/ {
    cost = $1; gsub(",", "", cost); name = $0; sub(/.*::/, "", name); sub(/\(\).*/, "", name)
    perCall[name] = cost / calls
  }
  function row(label, own, raw, peer) {
    printf "%-26s %10.0f %8.0f %6.2f", label, perCall[own], perCall[raw], perCall[own] / perCall[raw]
    if (perCall[peer] > 0)
      printf " %9.0f %6.2f", perCall[peer], perCall[own] / perCall[peer]
    printf "\n"
  }
  END {
    printf "%-26s %10s %8s %6s %9s %6s\n", "case", "instr/call", "raw", "ratio", "pybind11", "ratio"
    row("PythonFunctionImpl::call", "functionCall", "rawFunctionCall", "peerCall")
    row("PythonModuleImpl::call", "moduleCall", "rawModuleCall", "peerModuleCall")
  }'
