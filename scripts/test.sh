#!/usr/bin/env bash
# Set-up, build, and every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh dev
ctest --preset dev -j "$(nproc)"
