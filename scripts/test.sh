#!/usr/bin/env bash
# Set-up, build, and every test.
#   scripts/test.sh --python PREFIX [FOLDER...]
# builds instead against the CPython installed under PREFIX (bin/python3.X, lib/libpython3.X.so)
# in build/py3X and runs the suite there, or only the named test folders (tests/FOLDER).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ "${1:-}" != "--python" ]; then
  scripts/build.sh dev
  ctest --preset dev -j "$(nproc)"
  exit
fi

prefix="$(cd "${2:?--python needs an installation prefix}" && pwd)"
shift 2
interpreter="$(find "$prefix/bin" -maxdepth 1 -regex '.*/python3\.[0-9]+$' | sort -V | tail -n 1)"
[ -x "$interpreter" ] || { echo "No bin/python3.X under $prefix" >&2; exit 1; }
version="$(basename "$interpreter")"
build="build/py${version#python}"
build="${build/./}"
folders="$(IFS=';'; echo "$*")"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DBELLWICK_BUILD_BENCH=OFF \
  -DPython3_EXECUTABLE="$interpreter" -DPython3_ROOT_DIR="$prefix" -DPython3_FIND_STRATEGY=LOCATION \
  -DBELLWICK_TEST_FOLDERS="$folders" >/dev/null
cmake --build "$build" -j "$(nproc)"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
