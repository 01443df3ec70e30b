#!/usr/bin/env bash
# The libraries the Windows program needs and Debian has no mingw-w64 package of: Qt (qtbase:
# Core, Gui, Widgets, the windows platform plug-in and the styles), SQLite and libxlsxwriter.
# Fetches Debian 12's own source packages with `apt-get source` (through a sources list and
# state of this script's own, so the machine's apt is left as it is), refuses them unless
# apt's checks against the archive's signature and dpkg-source's check of each .dsc's signature
# and checksums pass, and cross-builds them with cmake/mingw-w64-x86_64.cmake into a cache
# outside the clone, one folder per library keyed by its version, the compilers and the build
# options:
#   ${TALVERS_WINDOWS_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/talvers/windows-deps}/<name>-<key>
# A run that finds every folder complete does nothing.
#   --prefix   print the libraries' install folders as a CMake list (for TALVERS_WINDOWS_DEPS),
#              or fail when one is missing; builds nothing
# Needs what `scripts/setup.sh --windows-deps` installs.
set -euo pipefail
cd "$(dirname "$0")/.."
repo="$PWD"
toolchain="$repo/cmake/mingw-w64-x86_64.cmake"
triple=x86_64-w64-mingw32

# The source packages, as Debian 12 has them; their host Qt must be the same version.
qt_source=qt6-base=6.4.2+dfsg-10
sqlite_source=sqlite3=3.40.1-2+deb12u2
xlsxwriter_source=libxlsxwriter=1.1.4-2

# Qt as small as the program allows, so that its build stays short: no modules but Core, Gui
# and Widgets; the bundled pcre2, zlib, libpng and harfbuzz (there are no mingw-w64 packages of
# them); no tablet events (Debian's source lacks wintab.h); OpenGL left on, loaded dynamically,
# since the windows plug-in of 6.4 does not compile without it; fonts through GDI, as Qt's
# windows plug-in does by default (its DirectWrite font database needs the direct2d plug-in,
# a second platform plug-in to build).
qt_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  -DQT_BUILD_MANUAL_TESTS=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_testlib=OFF
  -DFEATURE_tabletevent=OFF -DFEATURE_vulkan=OFF -DFEATURE_freetype=OFF -DFEATURE_direct2d=OFF
  -DFEATURE_directwrite3=OFF
  -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_glib=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF -DFEATURE_sessionmanager=OFF
  -DFEATURE_pdf=OFF -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF
  -DFEATURE_textmarkdownwriter=OFF -DFEATURE_graphicsview=OFF -DFEATURE_androiddeployqt=OFF
)
# Debian's own compile-time options of SQLite (debian/rules of its package), so that the
# Windows program's SQLite behaves as the Linux one's.
sqlite_flags=(
  -O2 -fno-strict-aliasing -DNDEBUG
  -DSQLITE_SECURE_DELETE -DSQLITE_ENABLE_COLUMN_METADATA
  -DSQLITE_ENABLE_FTS3 -DSQLITE_ENABLE_FTS3_PARENTHESIS -DSQLITE_ENABLE_FTS4 -DSQLITE_ENABLE_FTS5
  -DSQLITE_ENABLE_RTREE=1 -DSQLITE_SOUNDEX=1 -DSQLITE_ENABLE_UNLOCK_NOTIFY
  -DSQLITE_OMIT_LOOKASIDE=1 -DSQLITE_ENABLE_DBSTAT_VTAB -DSQLITE_ALLOW_ROWID_IN_VIEW
  -DSQLITE_ENABLE_UPDATE_DELETE_LIMIT=1 -DSQLITE_ENABLE_LOAD_EXTENSION -DSQLITE_ENABLE_JSON1
  -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_THREADSAFE=1 -DSQLITE_ENABLE_FTS3_TOKENIZER=1
  -DSQLITE_USE_URI=1 -DSQLITE_MAX_SCHEMA_RETRY=25 -DSQLITE_ENABLE_PREUPDATE_HOOK
  -DSQLITE_ENABLE_SESSION -DSQLITE_ENABLE_STMTVTAB -DSQLITE_MAX_VARIABLE_NUMBER=250000
  -DSQLITE_ENABLE_MATH_FUNCTIONS
)
# Static, with the minizip libxlsxwriter's source carries (zlib's own, from its contrib folder)
# over Debian's zlib for mingw-w64; C99 printf from mingw-w64, not the old msvcrt's.
xlsxwriter_options=(
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DUSE_SYSTEM_MINIZIP=OFF
  -DCMAKE_C_FLAGS=-D__USE_MINGW_ANSI_STDIO=1
)

# libxlsxwriter as Debian has it opens its file by a narrow name under mingw-w64 (read in the
# ANSI code page, and without sharing the file the program holds open for its read-back), and
# its temporaries likewise: this project's patch makes mingw-w64 take the wide calls MSVC does.
xlsxwriter_patch="$repo/cmake/windows/libxlsxwriter-windows.patch"

package_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo none; }
root="${TALVERS_WINDOWS_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/talvers/windows-deps}"
# folder_of NAME: the library's folder, keyed by what its build depends on (read from stdin)
# and what every build here depends on: the compilers and the toolchain file. A change to one
# library rebuilds that one alone.
folder_of() {
  local key
  key=$({
    cat
    printf '%s\n' "$(package_version g++-mingw-w64-x86-64-posix)" \
      "$(package_version mingw-w64-x86-64-dev)" "$(package_version libz-mingw-w64-dev)"
    cat "$toolchain"
  } | sha256sum | cut -c1-16)
  echo "$root/$1-$key"
}
# Qt's also depends on the host Qt whose tools (moc, rcc, uic) build it.
qt_dir=$(printf '%s\n' "$qt_source" "${qt_options[@]}" "$(package_version qt6-base-dev)" \
           "$(package_version qt6-base-dev-tools)" | folder_of qtbase)
sqlite_dir=$(printf '%s\n' "$sqlite_source" "${sqlite_flags[@]}" | folder_of sqlite)
xlsxwriter_dir=$({ printf '%s\n' "$xlsxwriter_source" "${xlsxwriter_options[@]}"
                   cat "$xlsxwriter_patch"; } | folder_of libxlsxwriter)
dirs=("$qt_dir" "$sqlite_dir" "$xlsxwriter_dir")

if [ "${1:-}" = "--prefix" ]; then
  prefixes=()
  for dir in "${dirs[@]}"; do
    if [ ! -f "$dir/complete" ]; then
      echo "windows deps: $dir is missing: run bash scripts/windows_deps.sh" >&2
      exit 1
    fi
    prefixes+=("$dir/prefix")
  done
  (IFS=';' && echo "${prefixes[*]}")
  exit 0
fi

missing=()
for dir in "${dirs[@]}"; do
  if [ -f "$dir/complete" ]; then
    echo "windows deps: present in $dir"
  else
    missing+=("$dir")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

jobs="${TALVERS_JOBS:-2}"
work="$root/work"
# What an interrupted run left: a library's folder without its mark, the sources.
rm -rf "$work" "${missing[@]}"
mkdir -p "$work/apt/lists/partial" "$work/apt/archives/partial" "$work/apt/parts" "$work/src"
trap 'rm -rf "$work"' EXIT

# mark_complete DIR SOURCE STARTED: the mark that says DIR is whole, with what it holds, how
# long it took and its size; prints it.
mark_complete() {
  local size
  size=$(du -sm "$1/prefix" | cut -f1)
  printf '%s: %s s, %s MB\n' "$2" "$(($(date +%s) - $3))" "$size" > "$1/complete"
  sed 's/^/windows deps: /' "$1/complete"
}

# --- the sources, from Debian's archive only ---
printf 'deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] %s\n' \
  "http://deb.debian.org/debian bookworm main" \
  "http://deb.debian.org/debian bookworm-updates main" \
  "http://deb.debian.org/debian-security bookworm-security main" > "$work/apt/sources.list"
# Only this list, only Debian's archive keyring (each line's signed-by), nothing trusted
# without a signature; downloads run as this user.
printf '%s\n' \
  "Dir::Etc::SourceList \"$work/apt/sources.list\";" \
  "Dir::Etc::SourceParts \"$work/apt/parts\";" \
  "Dir::Etc::TrustedParts \"$work/apt/parts\";" \
  "Dir::Etc::PreferencesParts \"$work/apt/parts\";" \
  "Dir::State \"$work/apt\";" \
  "Dir::State::Lists \"$work/apt/lists\";" \
  "Dir::State::status \"/var/lib/dpkg/status\";" \
  "Dir::Cache \"$work/apt\";" \
  "Dir::Cache::Archives \"$work/apt/archives\";" \
  "APT::Sandbox::User \"$(id -un)\";" \
  "APT::Get::AllowUnauthenticated \"false\";" \
  "Acquire::AllowInsecureRepositories \"false\";" \
  "Acquire::Languages \"none\";" > "$work/apt/apt.conf"
APT_CONFIG="$work/apt/apt.conf" apt-get update -qq

# fetch SOURCE: apt checks every file it fetches against the Sources index, whose hashes the
# archive's signature covers, and fails on any mismatch; dpkg-source then checks the
# uploader's signature of the .dsc (debian-keyring) and the checksums of the files it names,
# and refuses to unpack otherwise. Prints the unpacked folder.
fetch() {
  local name="${1/=/_}"
  (cd "$work/src" &&
    APT_CONFIG="$work/apt/apt.conf" apt-get source --download-only -qq "$1" >&2 &&
    dpkg-source --require-valid-signature --require-strong-checksums -x "$name.dsc" "$name" \
      >/dev/null)
  echo "$work/src/$name"
}
cmake_cross=(-G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain")

# SQLite and libxlsxwriter build while Qt does: SQLite's one large file keeps one compiler
# busy for minutes, which Qt's configure step alone would leave the other core idle for. Their
# sources are fetched first (one apt at a time).
[ -f "$sqlite_dir/complete" ] || sqlite_tree=$(fetch "$sqlite_source")
[ -f "$xlsxwriter_dir/complete" ] || xlsxwriter_tree=$(fetch "$xlsxwriter_source")
small_libraries() {
  local started
  # --- SQLite: its amalgamation made on the host (tclsh), compiled for Windows ---
  if [ ! -f "$sqlite_dir/complete" ]; then
    started=$(date +%s)
    local prefix="$sqlite_dir/prefix"
    mkdir -p "$work/sqlite" "$prefix/include" "$prefix/lib"
    (cd "$work/sqlite" &&
      "$sqlite_tree/configure" --disable-tcl --disable-readline >/dev/null &&
      make -s -j"$jobs" sqlite3.c sqlite3.h sqlite3ext.h >/dev/null &&
      "$triple-gcc-posix" "${sqlite_flags[@]}" -c sqlite3.c -o sqlite3.o &&
      "$triple-ar" rcs "$prefix/lib/libsqlite3.a" sqlite3.o &&
      cp sqlite3.h sqlite3ext.h "$prefix/include/")
    mark_complete "$sqlite_dir" "$sqlite_source" "$started"
  fi
  # --- libxlsxwriter ---
  if [ ! -f "$xlsxwriter_dir/complete" ]; then
    started=$(date +%s)
    patch -s -d "$xlsxwriter_tree" -p1 < "$xlsxwriter_patch"
    cmake -S "$xlsxwriter_tree" -B "$work/xlsxwriter" "${cmake_cross[@]}" \
          -DCMAKE_INSTALL_PREFIX="$xlsxwriter_dir/prefix" "${xlsxwriter_options[@]}" >/dev/null
    cmake --build "$work/xlsxwriter" -j"$jobs" >/dev/null
    cmake --install "$work/xlsxwriter" >/dev/null
    mark_complete "$xlsxwriter_dir" "$xlsxwriter_source" "$started"
  fi
}
small_libraries > "$work/small.log" 2>&1 &
small=$!

# --- qtbase, its tools from the host's Qt ---
if [ ! -f "$qt_dir/complete" ]; then
  started=$(date +%s)
  source_dir=$(fetch "$qt_source")
  cmake -S "$source_dir" -B "$work/qt" "${cmake_cross[@]}" \
        -DCMAKE_INSTALL_PREFIX="$qt_dir/prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        "${qt_options[@]}" > "$work/qt-configure.log"
  cmake --build "$work/qt" -j"$jobs"
  cmake --install "$work/qt" >/dev/null
  mark_complete "$qt_dir" "$qt_source" "$started"
fi
status=0
wait "$small" || status=$?
cat "$work/small.log"
exit $status
