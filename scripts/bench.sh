#!/usr/bin/env bash
# Set-up, an optimised build, and every benchmark program (each prints its ratios).
#   scripts/bench.sh [--python PREFIX] [BENCHMARK_ARGS...]
#   scripts/bench.sh --compare OLD_SHA [--reps N] [BENCHMARK_ARGS...]
# --python builds instead against the CPython installed under PREFIX (bin/python3.X,
# lib/libpython3.X.so), in build/py3X-release.
# --compare also builds OLD_SHA (in build/compare/OLD_SHA) and runs each benchmark program of the
# two builds one after the other, N times (default 3), so that both meet the same machine.
set -euo pipefail
cd "$(dirname "$0")/.."
old=""
reps=3
prefix=""
while [ $# -gt 0 ]; do
  case "$1" in
    --compare) old="$(git rev-parse --short "${2:?--compare needs a commit}")"; shift 2 ;;
    --reps) reps="${2:?--reps needs a count}"; shift 2 ;;
    --python) prefix="$(cd "${2:?--python needs an installation prefix}" && pwd)"; shift 2 ;;
    *) break ;;
  esac
done
scripts/setup.sh
run() { echo "== $(basename "$1")${2:+ ($2)}"; QT_QPA_PLATFORM=offscreen "$1" "${@:3}"; }

if [ -n "$prefix" ]; then
  interpreter="$(find "$prefix/bin" -maxdepth 1 -regex '.*/python3\.[0-9]+$' | sort -V | tail -n 1)"
  [ -x "$interpreter" ] || { echo "No bin/python3.X under $prefix" >&2; exit 1; }
  version="$(basename "$interpreter")"
  build="build/py${version#python}-release"
  build="${build/./}"
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBELLWICK_BUILD_TESTS=OFF \
    -DPython3_EXECUTABLE="$interpreter" -DPython3_ROOT_DIR="$prefix" -DPython3_FIND_STRATEGY=LOCATION >/dev/null
  cmake --build "$build" -j "$(nproc)"
  for b in "$build"/bin/bench_*; do
    [ -x "$b" ] && run "$b" "$version" "$@"
  done
  exit 0
fi

scripts/build.sh release
if [ -z "$old" ]; then
  for b in build/release/bin/bench_*; do
    [ -x "$b" ] && run "$b" "" "$@"
  done
  exit 0
fi

tree="build/compare/$old"
[ -d "$tree" ] || git worktree add --detach "$tree" "$old" >/dev/null
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=Release -DBELLWICK_BUILD_TESTS=ON >/dev/null
cmake --build "$tree/build" -j "$(nproc)"
new="$(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo +)"
for rep in $(seq "$reps"); do
  for b in build/release/bin/bench_*; do
    name="$(basename "$b")"
    [ -x "$b" ] && [ -x "$tree/build/bin/$name" ] || continue
    echo "#### repetition $rep of $reps"
    run "$tree/build/bin/$name" "$old" "$@"
    run "$b" "$new" "$@"
  done
done
