#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the demo need. Idempotent: packages
# already installed are skipped, and the package lists are refreshed only when something is
# missing.
#   --windows       also what the Windows pass of the test command needs (the mingw-w64 cross
#                   compiler, zlib for it, GoogleTest's sources, Wine, NSIS, the icon's and the
#                   desktop check's tools: about 1 GB, which the demo and a --quick or
#                   --sanitize run do without)
#   --windows-deps  the same, then the Windows libraries (Qt, SQLite, libxlsxwriter) built from
#                   Debian's sources into their cache by scripts/windows_deps.sh, when missing
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  libxlsxwriter-dev
  unixodbc unixodbc-dev tdsodbc libsqliteodbc
  libsqlite3-dev
  libjemalloc-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 python3-openpyxl
  xvfb xauth fonts-dejavu-core
  qt6-l10n-tools
  qt6-tools-dev
  libqt6svg6
  desktop-file-utils
  help2man
  dpkg-dev
  lintian
  clang
  libclang-rt-14-dev
  # The end-to-end tests of sticks and shares mount FAT and NTFS images through FUSE.
  fusefat dosfstools ntfs-3g
  # The printed-pages check renders every workbook with LibreOffice and reads the PDF back
  # (about 80 MB, 40 s to install here; the check itself takes under 10 s). Carlito has the
  # metrics of Calibri, the workbooks' font, so that pages break as they do in the spreadsheet.
  libreoffice-calc-nogui poppler-utils fonts-crosextra-carlito
)
# Node.js for the test-only T-SQL grammar: Debian's, unless the machine already has a node and
# npm of its own (whose packages would conflict with Debian's npm).
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)
case "${1:-}" in
  --windows|--windows-deps)
    packages+=(g++-mingw-w64-x86-64-posix mingw-w64-tools libz-mingw-w64-dev googletest wine64
               nsis librsvg2-bin icoutils xdotool openbox imagemagick)
    ;;&
  --windows-deps)
    # The deps' sources and their checks (the uploaders' keys), SQLite's amalgamation (tclsh).
    packages+=(dpkg-dev debian-keyring tcl qt6-base-dev-tools)
    ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
else
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The independent T-SQL grammar the tests check every statement against, at the version the
# lock file pins (installed again only when the lock file changed).
grammar="$(cd "$(dirname "$0")/.." && pwd)/tests/sqlgrammar"
if ! cmp -s "$grammar/package-lock.json" "$grammar/node_modules/.package-lock.json.installed" 2>/dev/null; then
  echo "setup: installing the T-SQL grammar (npm ci)"
  npm ci --prefix "$grammar" --no-audit --no-fund --loglevel=error
  cp "$grammar/package-lock.json" "$grammar/node_modules/.package-lock.json.installed"
fi

if [ "${1:-}" = "--windows-deps" ]; then
  bash "$(dirname "$0")/windows_deps.sh"
fi
