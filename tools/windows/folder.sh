#!/usr/bin/env bash
# The program folder that runs on a Windows machine with nothing else installed: the programs, every
# DLL they and their Qt plug-ins load (found by walking the import tables), the plug-ins, Qt's
# Russian texts, the manual in both languages and the icon.
#   bash tools/windows/folder.sh BUILD-FOLDER OUT-FOLDER     (GRX1_WINDOWS_PREFIX set)
set -euo pipefail
build=$1 out=$2
prefix=${GRX1_WINDOWS_PREFIX:?}
qt=$prefix/qt
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)

rm -rf "$out"
mkdir -p "$out"
for program in grx1 grx1-cli grx1-tester-sim; do
  [ -f "$build/src/$program.exe" ] && cp "$build/src/$program.exe" "$out/"
done

# Qt finds its plug-ins in these folders beside the program.
plugins=(platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle
  imageformats/qgif imageformats/qico imageformats/qjpeg sqldrivers/qsqlite sqldrivers/qsqlpsql)
for p in "${plugins[@]}"; do
  mkdir -p "$out/$(dirname "$p")"
  cp "$qt/plugins/$p.dll" "$out/$p.dll"
done
if [ -d "$qt/plugins/printsupport" ]; then
  mkdir -p "$out/printsupport" && cp "$qt"/plugins/printsupport/*.dll "$out/printsupport/"
fi

# Every DLL the programs and plug-ins import, and what those import in turn; what is found in none
# of these folders must be part of Windows itself.
search=("$qt/bin" "$prefix/bin" "$prefix/lib" /usr/x86_64-w64-mingw32/lib /usr/lib/gcc/x86_64-w64-mingw32/*-posix)
windows_dlls=" advapi32 comdlg32 crypt32 d3d11 d3d9 dwmapi dwrite dxgi gdi32 imm32 kernel32 mpr msvcrt netapi32
  ole32 oleaut32 setupapi shell32 shlwapi user32 userenv uxtheme version winmm winspool.drv ws2_32 wtsapi32
  secur32 opengl32 bcrypt authz ntdll d2d1 comctl32 rpcrt4 wldap32 shcore dcomp "
windows_dlls=" $(echo $windows_dlls) " # one blank between names
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
queue=("$out"/*.exe "$out"/*/*.dll)
declare -A seen
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  for dll in $(imports "$file"); do
    key=${dll,,}
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    case $key in api-ms-win-*) continue ;; esac
    found=""
    for dir in "${search[@]}"; do
      candidate=$(find "$dir" -maxdepth 1 -iname "$dll" 2>/dev/null | head -1)
      if [ -n "$candidate" ]; then found=$candidate; break; fi
    done
    if [ -n "$found" ]; then
      cp "$found" "$out/"
      queue+=("$out/$(basename "$found")")
    elif [[ $windows_dlls != *" ${key%.dll} "* && $windows_dlls != *" $key "* ]]; then
      echo "folder.sh: $dll (needed by $(basename "$file")) was found nowhere" >&2
      exit 1
    fi
  done
done

# Symbols are of no use on a user's machine and would double the folder.
find "$out" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

mkdir -p "$out/translations"
cp /usr/share/qt6/translations/qtbase_ru.qm "$out/translations/"
if [ -d "$build/manual" ]; then
  cp -r "$build/manual" "$out/manual"
  rm -f "$out/manual/manual.stamp"
fi
cp "$root/packaging/icons/grx1.ico" "$out/"
cp "$root/COPYING" "$out/COPYING.txt"
echo "folder.sh: $(find "$out" -type f | wc -l) files in $out"
