#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need. Idempotent: packages
# already installed are skipped, and the package lists are refreshed only when something is
# missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libxlsxwriter-dev
  unixodbc unixodbc-dev tdsodbc libsqliteodbc
  libsqlite3-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-openpyxl
  xvfb xauth fonts-dejavu-core
  clang
  libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
