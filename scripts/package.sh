#!/usr/bin/env bash
# Set-up, the optimised build, and its Debian packages (bellwick and bellwick-dev) in
# build/release, with their dependencies and contents listed.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh release
(cd build/release && cpack -G DEB)
for deb in build/release/bellwick*.deb; do
  echo "== $deb"
  dpkg-deb -f "$deb" Package Version Depends
  dpkg-deb -c "$deb"
done
