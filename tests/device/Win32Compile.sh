#!/bin/sh
# Compiles the Windows bulk-pipe transport to an object with the mingw-w64 cross compiler.
# usage: Win32Compile.sh SOURCE_DIR OUTPUT.o   (exit 77 = skipped: the compiler is not installed)
if ! command -v x86_64-w64-mingw32-g++ >/dev/null 2>&1; then
  echo "x86_64-w64-mingw32-g++ not found (package g++-mingw-w64-x86-64): skipped"
  exit 77
fi
exec x86_64-w64-mingw32-g++ -std=c++20 -Wall -Wextra -Werror -I"$1" -c "$1/device/PipeLinkWin32.cpp" -o "$2"
