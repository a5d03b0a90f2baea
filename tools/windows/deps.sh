#!/usr/bin/env bash
# Builds the libraries the Windows program needs with the MinGW-w64 cross compiler, from Debian's
# own source packages, into a cache outside the work tree. A library is built once for each version
# of its source package (a stamp in the prefix names it); later runs only look at the stamps.
#   bash tools/windows/deps.sh [--check]
#   GRX1_WINDOWS_CACHE  the cache folder (default ~/.cache/grx1-windows)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${GRX1_WINDOWS_CACHE:-$HOME/.cache/grx1-windows}
prefix=$cache/prefix
export GRX1_WINDOWS_PREFIX=$prefix
jobs=${GRX1_JOBS:-2}
host=x86_64-w64-mingw32
# --check: whether every library is there (from an earlier run), without building anything.
if [ "${1:-}" = --check ]; then
  [ -f "$prefix/.complete" ]
  exit
fi
mkdir -p "$cache/src" "$cache/build" "$prefix"
# Qt keeps the toolchain file's path in its own; a copy in the cache outlives any work tree.
cp "$here/mingw.cmake" "$cache/mingw.cmake"
toolchain=$cache/mingw.cmake

log() { printf '[windows deps] %s\n' "$*" >&2; }

# The package archive serves sources through a deb-src entry made from the machine's own entries.
ensure_deb_src() {
  apt-get source --print-uris qt6-base >/dev/null 2>&1 && return 0
  log "adding deb-src entries made from this machine's apt sources"
  local out=/etc/apt/sources.list.d/grx1-deb-src.sources f
  : >"$out.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q '^Types: deb$' "$f" || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f" >>"$out.tmp"
    echo >>"$out.tmp"
  done
  mv "$out.tmp" "$out"
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >/etc/apt/sources.list.d/grx1-deb-src.list
  fi
  apt-get update -qq
}

# The version of a source package this cache holds, fetched and unpacked once: the newest one the
# package archive serves (an index may name a version that its pool no longer has).
source_version() {
  local pkg=$1 known=$cache/src/$1.version ver
  if [ -f "$known" ] && [ -d "$cache/src/$pkg-$(cat "$known")" ]; then
    cat "$known"
    return 0
  fi
  for ver in $(apt-cache showsrc "$pkg" 2>/dev/null | sed -n 's/^Version: //p' | sort -urV); do
    if fetch "$pkg" "$ver"; then
      echo "$ver" >"$known"
      echo "$ver"
      return 0
    fi
  done
  log "no source of $pkg could be fetched"
  return 1
}

# Fetches a source package and unpacks it with Debian's patches applied.
fetch() {
  local pkg=$1 ver=$2 dir=$cache/src/$1-$2 dl=$cache/src/dl-$1
  log "fetching the source of $pkg $ver"
  rm -rf "$dl" "$dir.tmp" && mkdir -p "$dl"
  chmod 777 "$dl" # apt's own user fetches into it
  if (cd "$dl" && apt-get source --download-only -qq "$pkg=$ver" >/dev/null 2>&1 &&
    dpkg-source --no-check -x ./*.dsc "$dir.tmp" >/dev/null 2>&1); then # apt checked the files' sums
    rm -rf "$dir" && mv "$dir.tmp" "$dir"
    rm -rf "$dl"
    return 0
  fi
  rm -rf "$dl" "$dir.tmp"
  return 1
}

unpack() { echo "$cache/src/$1-$2"; }

stamp() { echo "$prefix/.built-$1-$2"; }
done_already() { [ -f "$(stamp "$1" "$2")" ]; }
mark_done() { rm -f "$prefix"/.built-"$1"-*; touch "$(stamp "$1" "$2")"; }

# Builds and installs a configured CMake build folder, then stamps the library: NAME VERSION FOLDER.
build_and_install() {
  cmake --build "$3" -j"$jobs" >"$cache/build/$1-build.log"
  cmake --install "$3" >/dev/null
  mark_done "$1" "$2"
}

build_qtbase() {
  local ver; ver=$(source_version qt6-base)
  done_already qtbase "$ver" && return 0
  local s; s=$(unpack qt6-base "$ver")
  log "building qtbase $ver for Windows (about an hour on 2 cores)"
  local b=$cache/build/qtbase
  rm -rf "$b"
  # Debian's source lacks the Wintab header (tablet events off); the Windows platform plugin of this
  # Qt needs OpenGL on (dynamic, as on Windows). The SQL drivers are built on their own below.
  cmake -G Ninja -S "$s" -B "$b" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix/qt" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_TESTS=OFF -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_md4c=OFF \
    -DFEATURE_dbus=OFF -DFEATURE_tabletevent=OFF -DFEATURE_icu=OFF \
    -DFEATURE_sql_sqlite=OFF -DFEATURE_sql_psql=OFF -DFEATURE_sql_odbc=OFF \
    -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF \
    >"$cache/build/qtbase-configure.log"
  build_and_install qtbase "$ver" "$b"
}

# SQLite from Debian's source: its amalgamation, compiled into a DLL for Qt's SQLite driver.
build_sqlite() {
  local ver; ver=$(source_version sqlite3)
  done_already sqlite "$ver" && return 0
  local s; s=$(unpack sqlite3 "$ver")
  log "building SQLite $ver"
  local b=$cache/build/sqlite
  rm -rf "$b" && mkdir -p "$b"
  # The amalgamation is made by host tools (lemon and friends), so this configure is the host's.
  (cd "$b" && "$s/configure" --disable-tcl --disable-readline >/dev/null &&
    make -s sqlite3.c sqlite3.h >"$cache/build/sqlite-build.log" 2>&1)
  mkdir -p "$prefix/include" "$prefix/lib" "$prefix/bin"
  $host-gcc-posix -O2 -shared -o "$prefix/bin/libsqlite3-0.dll" "$b/sqlite3.c" \
    -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_ENABLE_FTS5 -DSQLITE_ENABLE_RTREE \
    -DSQLITE_API='__declspec(dllexport)' -Wl,--out-implib,"$prefix/lib/libsqlite3.dll.a"
  cp "$b/sqlite3.h" "$s/src/sqlite3ext.h" "$prefix/include/" 2>/dev/null || cp "$b/sqlite3.h" "$prefix/include/"
  mark_done sqlite "$ver"
}

# libpq from Debian's PostgreSQL source, for Qt's PostgreSQL driver (a shared lab archive).
build_libpq() {
  local ver; ver=$(source_version postgresql-15)
  done_already libpq "$ver" && return 0
  local s; s=$(unpack postgresql-15 "$ver")
  log "building libpq $ver"
  local b=$cache/build/libpq
  rm -rf "$b" && mkdir -p "$b"
  (cd "$b" && "$s/configure" --host=$host CC=$host-gcc-posix --prefix="$prefix" --without-readline --without-zlib \
      --without-icu --without-openssl --without-gssapi --without-ldap >"$cache/build/libpq-configure.log" &&
    make -s -C src/include >/dev/null && make -s -C src/common -j"$jobs" >/dev/null &&
    make -s -C src/port -j"$jobs" >/dev/null &&
    make -s -C src/interfaces/libpq -j"$jobs" >"$cache/build/libpq-build.log" 2>&1 &&
    make -s -C src/include install >/dev/null && make -s -C src/interfaces/libpq install >/dev/null)
  mark_done libpq "$ver"
}

# Qt's SQLite and PostgreSQL drivers, built against the installed Qt as their own project.
build_sqldrivers() {
  local ver; ver=$(source_version qt6-base)-$(source_version sqlite3)-$(source_version postgresql-15)
  done_already sqldrivers "$ver" && return 0
  local s; s=$(unpack qt6-base "$(source_version qt6-base)")
  log "building Qt's SQL drivers"
  local b=$cache/build/sqldrivers
  rm -rf "$b"
  local pqlib=$prefix/lib/libpq.dll.a
  [ -f "$pqlib" ] || pqlib=$prefix/lib/libpq.a
  cmake -G Ninja -S "$s/src/plugins/sqldrivers" -B "$b" -Wno-dev \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/qt/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix/qt" -DFEATURE_system_sqlite=ON \
    -DSQLite3_INCLUDE_DIR="$prefix/include" -DSQLite3_LIBRARY="$prefix/lib/libsqlite3.dll.a" \
    -DPostgreSQL_INCLUDE_DIR="$prefix/include" -DPostgreSQL_LIBRARY="$pqlib" \
    -DFEATURE_sql_odbc=OFF -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF \
    -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF >"$cache/build/sqldrivers-configure.log"
  build_and_install sqldrivers "$ver" "$b"
}

# QCustomPlot is one source file: a static library and the CMake package name the program asks for.
build_qcustomplot() {
  local ver; ver=$(source_version qcustomplot)
  done_already qcustomplot "$ver" && return 0
  local s; s=$(unpack qcustomplot "$ver")
  log "building QCustomPlot $ver"
  local b=$cache/build/qcustomplot
  rm -rf "$b"
  cmake -G Ninja -S "$here/qcustomplot" -B "$b" -Wno-dev -DQCUSTOMPLOT_SOURCE="$s" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/qt/lib/cmake/Qt6/qt.toolchain.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
  build_and_install qcustomplot "$ver" "$b"
}

# A library with a CMake build of its own: NAME PACKAGE-OR-FOLDER VERSION [cmake options].
build_cmake_lib() {
  local name=$1 s=$2 ver=$3; shift 3
  done_already "$name" "$ver" && return 0
  log "building $name $ver"
  local b=$cache/build/$name
  rm -rf "$b"
  cmake -G Ninja -S "$s" -B "$b" -Wno-dev -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$cache/build/$name-configure.log"
  build_and_install "$name" "$ver" "$b"
}

ensure_deb_src
build_qtbase
build_sqlite
build_libpq
build_sqldrivers
build_qcustomplot
v=$(source_version libxlsxwriter)
build_cmake_lib xlsxwriter "$(unpack libxlsxwriter "$v")" "$v" -DUSE_SYSTEM_MINIZIP=OFF -DBUILD_TESTS=OFF
v=$(source_version geographiclib)
build_cmake_lib geographiclib "$(unpack geographiclib "$v")" "$v" -DBUILD_SHARED_LIBS=OFF \
  -DBUILD_DOCUMENTATION=OFF -DBUILD_MANPAGES=OFF -DEXAMPLEDIR= -DCMAKE_DISABLE_FIND_PACKAGE_Boost=ON
v=$(dpkg-query -W -f='${Version}' googletest)
build_cmake_lib googletest /usr/src/googletest "$v" -DBUILD_SHARED_LIBS=OFF -Dgtest_disable_pthreads=OFF
# Boost.Math is header-only: Debian's own headers serve the Windows build as they are.
mkdir -p "$prefix/include"
ln -sfn /usr/include/boost "$prefix/include/boost"

touch "$prefix/.complete"
log "the libraries are in $prefix"
