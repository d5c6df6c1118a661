#!/usr/bin/env bash
# Installs the Debian packages the build needs, only those that are missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev libgl-dev libqt6svg6
  qt6-tools-dev qt6-l10n-tools
  python3.11-dev libpython3.11-dev
  # Packages the host's Python reaches with PYTHON_SITE_PACKAGES, and venvs, which the tests use.
  python3-pyqt6 python3-numpy python3-matplotlib python3.11-venv
  libbenchmark-dev pybind11-dev
  python3-debugpy
  locales
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# The locale tests run Python under a French locale, whose numbers differ from "C".
if ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi
