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
  xvfb xauth openbox fonts-ipafont-gothic python3 time poppler-utils
  xdg-utils shared-mime-info desktop-file-utils libglib2.0-bin
  locales qt6-translations-l10n
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
if [ ${#missing[@]} -ne 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A real locale for the tests of sorting by the user's locale: de_DE.UTF-8,
# listed in /etc/locale.gen (so that a later locale-gen keeps it) and built
# alone with localedef, which takes seconds where locale-gen builds them all.
test_locale=de_DE.UTF-8
if ! locale -a 2>/dev/null | grep -qx 'de_DE\.utf8'; then
  echo "Generating the locale $test_locale"
  if ! grep -qx "$test_locale UTF-8" /etc/locale.gen 2>/dev/null; then
    if grep -qx "# *$test_locale UTF-8" /etc/locale.gen 2>/dev/null; then
      $sudo sed -i "s/^# *$test_locale UTF-8\$/$test_locale UTF-8/" /etc/locale.gen
    else
      echo "$test_locale UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    fi
  fi
  $sudo localedef -i de_DE -c -f UTF-8 -A /usr/share/locale/locale.alias "$test_locale"
fi
