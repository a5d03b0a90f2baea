#!/usr/bin/env bash
# The setup program from the program folder: bash tools/windows/setup.sh FOLDER OUT-FOLDER
# Writes OUT-FOLDER/grx1-<version>-setup.exe (NSIS). The lists of files to install and to remove
# are made from the folder itself, so the uninstaller removes exactly what was installed.
set -euo pipefail
folder=$(cd "$1" && pwd)
out=$(cd "$2" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
version=$(sed -n 's/^project(grx1 VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
work=$out/setup
rm -rf "$work" && mkdir -p "$work"
win() { printf '%s' "$1" | tr / '\\'; }
(
  cd "$folder"
  find . -type d | sort | sed 's|^\./\?||' | while read -r d; do
    printf 'SetOutPath "$INSTDIR%s"\n' "$( [ -n "$d" ] && printf '\\%s' "$(win "$d")")"
    find "./$d" -maxdepth 1 -type f | sort | while read -r f; do
      printf 'File "%s"\n' "$folder/${f#./}"
    done
  done
  printf 'SetOutPath "$INSTDIR"\n'
) >"$work/files.nsh"
(
  cd "$folder"
  find . -type f | sort | sed 's|^\./||' | while read -r f; do printf 'Delete "$INSTDIR\\%s"\n' "$(win "$f")"; done
  find . -mindepth 1 -type d | sort -r | sed 's|^\./||' | while read -r d; do printf 'RMDir "$INSTDIR\\%s"\n' "$(win "$d")"; done
) >"$work/unfiles.nsh"
cp "$root/packaging/windows/grx1.nsi" "$work/"
setup=$out/grx1-$version-setup.exe
makensis -V2 -NOCD -DVERSION="$version" -DFOLDER="$folder" -DWORK="$work" -DOUT="$setup" "$work/grx1.nsi" >"$work/makensis.log" ||
  { cat "$work/makensis.log" >&2; exit 1; }
echo "setup.sh: $setup"
