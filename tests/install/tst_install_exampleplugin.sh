#!/usr/bin/env bash
# tst_install_exampleplugin.sh CMAKE PREFIX WORK CXX: builds the installed example plug-in against PREFIX
# alone and runs it in the installed host.
set -euo pipefail
cmake="$1" prefix="$2" work="$3" compiler="$4"
source "$(dirname "$0")/run_installed.sh"

example="$prefix/share/bellwick/examples/plugin"
rm -rf "$work"
"$cmake" -S "$example" -B "$work" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_COMPILER="$compiler" >"$work.log" 2>&1 ||
  fail "configuring the example: $(cat "$work.log")"
"$cmake" --build "$work" >"$work.log" 2>&1 || fail "building the example: $(cat "$work.log")"

out="$(cd "$example" && run_installed "$prefix" --plugin "$work/libGreeter.so" --script greet.js)" ||
  fail "greet.js failed"
[ "$out" = "Hello, Bellwick, from the Greeter plug-in!" ] || fail "greet.js printed: $out"
