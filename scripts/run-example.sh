#!/usr/bin/env bash
# Set-up, build, and the main job: the reference host runs the example host script headless.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
build/release/bin/bellwick --log - --script examples/hello.js
