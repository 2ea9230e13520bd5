#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, run and test Vell.
# Quiet and quick when everything is present.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-multimedia-dev libqt6sql6-sqlite libqt6sql6-odbc libqt6opengl6-dev
  unixodbc libsqliteodbc
  libgl1-mesa-dev libxtst-dev libxrandr-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  xvfb xauth fonts-ipafont-gothic python3 time poppler-utils
  xdg-utils shared-mime-info desktop-file-utils libglib2.0-bin
  qt6-translations-l10n
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
