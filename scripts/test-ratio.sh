#!/bin/bash
# Test-to-code ratio: non-blank lines of .cpp/.h files of each library's tests against the
# library, and of tests/ against everything outside tests/, bench/ and harness/ (the harness is
# shared by the tests and the benchmarks, so it counts on neither side). Run from the checkout.
set -euo pipefail
cd "$(dirname "$0")/.."

lines() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}

ratio() { # NAME TESTS CODE
  printf '%-10s %6d / %6d = %.2f\n' "$1" "$2" "$3" "$(echo "$2 / $3" | bc -l)"
}

ratio qtscript "$(lines tests/qtscript)" "$(lines qtscript)"
ratio pythonqt "$(lines tests/pythonqt)" "$(lines pythonqt)"
ratio host "$(lines tests/host tests/app)" "$(lines host)"
ratio plug-in "$(lines tests/plugin tests/bridge tests/console)" "$(lines src/Plugins/PythonScript)"
code=$(find . \( -path ./tests -o -path ./bench -o -path ./harness -o -path './build*' -o -path ./.git \) -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$')
ratio overall "$(lines tests)" "$code"
