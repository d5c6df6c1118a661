#!/usr/bin/env bash
# The whole suite on Debian's CPython 3.11, then again against pyenv's 3.9 and 3.13 when the
# machine has them (PYTHONS="3.9 3.10 3.12 3.13" names others), saying so when one is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/test.sh

pyenv_root="$(pyenv root 2>/dev/null || echo "${PYENV_ROOT:-$HOME/.pyenv}")"
for version in ${PYTHONS:-3.9 3.13}; do
  prefix="$(find "$pyenv_root/versions" -mindepth 1 -maxdepth 1 -name "$version.*" 2>/dev/null | sort -V | tail -n 1 || true)"
  if [ -z "$prefix" ]; then
    echo "=== CPython $version: not installed under $pyenv_root/versions, not tested ==="
    continue
  fi
  echo "=== CPython $version ($prefix) ==="
  scripts/test.sh --python "$prefix"
done
