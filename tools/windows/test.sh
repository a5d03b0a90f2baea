#!/usr/bin/env bash
# The Windows program tried under Wine, after tools/windows.sh has built it:
#   bash tools/windows/test.sh OUT      (OUT: build/windows)
#  1. the test programs (the window tests on Qt's offscreen platform, the archive's on SQLite and on
#     a throwaway PostgreSQL server); tests that cannot run on Windows are listed in
#     tools/windows/not-on-windows.txt with their reasons
#  2. grx1-cli.exe gives the same bytes as the Linux grx1-cli for the same arguments
#  3. grx1-cli.exe reads the simulated tester (a Linux program, its pipe folder seen through Wine's
#     drive Z:) and writes the same project file as the Linux read
#  4. the setup program installs silently, the installed program starts with Russian texts and
#     shows its tables, the uninstaller removes the program folder
set -uo pipefail
out=$(cd "$1" && pwd)
: "${GRX1_WINDOWS_PREFIX:=${GRX1_WINDOWS_CACHE:-$HOME/.cache/grx1-windows}/prefix}"
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
folder=$out/GRX1
build=$out/build
work=$out/test
rm -rf "$work" && mkdir -p "$work"
export WINEPREFIX=$out/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
winpath() { printf 'Z:%s' "${1//\//\\}"; }
failures=0
ok() { printf 'ok      %s\n' "$*"; }
bad() { printf 'FAILED  %s\n' "$*"; failures=$((failures + 1)); }

if [ ! -d "$WINEPREFIX" ]; then
  wineboot -i >/dev/null 2>&1
fi
# Qt's offscreen platform (no display) reads its fonts from one folder: Linux's Liberation fonts,
# the metric twins of the Times New Roman and Arial that the reports ask for, so that texts are
# measured as on Linux and on Windows.
fonts=$(winpath /usr/share/fonts/truetype/liberation2)
# The test programs find Qt's Russian texts beside themselves, as the program does.
for dir in "$build/tests" "$build/tests/report" "$build/tests/archive"; do
  mkdir -p "$dir/translations" && cp "$folder"/translations/*.qm "$dir/translations/"
done
wineserver -p 600 # kept running between the many short programs below

# 1. The test programs. Wine finds the program folder's DLLs (and Qt's test library) through
# WINEPATH; it keeps Linux's QT_* variables from Windows programs, so they are given as WINEQT_*.
filter="-$(grep -v '^#' "$here/not-on-windows.txt" | awk 'NF {print $1}' | paste -sd: -)"
run_tests() {
  local exe=$1 log=$work/$(basename "$1").log pid waited=0 spent=0
  env WINEPATH="$(winpath "$folder");$(winpath "$GRX1_WINDOWS_PREFIX/qt/bin")" \
    WINEQT_PLUGIN_PATH="$(winpath "$folder")" WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR="$fonts" \
    wine "$exe" --gtest_filter="$filter" --gtest_brief=1 >"$log" 2>&1 &
  pid=$!
  # Under Wine a test program sometimes does not end after its last test: once its summary is
  # written it gets 30 s, then it is stopped and judged by that summary; 15 minutes in all.
  while kill -0 "$pid" 2>/dev/null && [ $spent -lt 900 ]; do
    if grep -qs '^\[==========\] .* ran\.' "$log"; then
      waited=$((waited + 1))
      if [ $waited -ge 30 ]; then kill -9 "$pid" 2>/dev/null; echo "(the program did not end: stopped)" >>"$log"; fi
    fi
    sleep 1
    spent=$((spent + 1))
  done
  kill -9 "$pid" 2>/dev/null
  wait "$pid"
  local code=$?
  if grep -q '^\[==========\] .* ran\.' "$log"; then ! grep -q '^\[  FAILED  \]' "$log"; else return "$code"; fi
}
for exe in "$build"/tests/grx1-tests.exe "$build"/tests/grx1-ui-tests.exe "$build"/tests/report/grx1-report-tests.exe; do
  if run_tests "$exe"; then ok "$(basename "$exe"): $(grep -o '[0-9]* tests* from [0-9]* test suites* ran' "$work/$(basename "$exe").log")"
  else bad "$(basename "$exe") (see $work/$(basename "$exe").log)"; grep -E '^\[  FAILED' "$work/$(basename "$exe").log" | sort -u | head -20; fi
done
if GRX1_TEST_PG_REQUIRED=1 bash "$root/tools/pg.sh" bash -c "$(declare -f run_tests winpath); filter='$filter' folder='$folder' work='$work' fonts='$fonts' GRX1_WINDOWS_PREFIX='$GRX1_WINDOWS_PREFIX' run_tests '$build/tests/archive/grx1-archive-tests.exe'"; then
  ok "grx1-archive-tests.exe on SQLite and PostgreSQL"
else
  bad "grx1-archive-tests.exe (see $work/grx1-archive-tests.exe.log)"; grep -E '^\[  FAILED' "$work/grx1-archive-tests.exe.log" | sort -u | head -20
fi

# 2. and 3. need the Linux programs for comparison.
linux=$root/build/default/src
if [ ! -x "$linux/grx1-cli" ] || [ ! -x "$linux/sim/grx1-tester-sim" ]; then
  (cd "$root" && bash tools/deps.sh && cmake --preset default >/dev/null &&
    cmake --build --preset default --target grx1-cli grx1-tester-sim >/dev/null)
fi
wcli() {
  (cd "$work" && env WINEPATH="$(winpath "$folder")" WINEQT_QPA_PLATFORM=offscreen WINEQT_QPA_FONTDIR="$fonts" \
    timeout 300 wine "$folder/grx1-cli.exe" "$@")
}
lcli() { (cd "$work" && "$linux/grx1-cli" "$@"); }
same() { # NAME WINDOWS-FILE LINUX-FILE
  if cmp -s "$2" "$3"; then ok "$1"; else bad "$1 ($2 and $3 differ)"; fi
}
wcli sample -o w.grx --impacts 600 --seed 5 && lcli sample -o l.grx --impacts 600 --seed 5
same "sample" "$work/w.grx" "$work/l.grx"
for args in "series l.grx" "series l.grx --lang en" "impacts l.grx --series 3" "control l.grx --require-dyn 30 --format json" \
  "archive --db a-@.sqlite add l.grx" "archive --db a-@.sqlite list --format csv"; do
  name=${args//@/w}; wcli ${args//@/w} >"$work/w.out" 2>"$work/w.err"; wcode=$?
  lcli ${args//@/l} >"$work/l.out" 2>"$work/l.err"; lcode=$?
  if [ $wcode = $lcode ] && cmp -s "$work/w.out" "$work/l.out" && cmp -s "$work/w.err" "$work/l.err"; then ok "grx1-cli $name"
  else bad "grx1-cli $name (exit $wcode and $lcode)"; diff "$work/w.out" "$work/l.out" | head -5; fi
done
# Files: the same arguments, the output named w.* or l.*; a folder of files is compared whole.
while read -r name args; do
  wcli ${args//@/w} >/dev/null 2>&1
  lcli ${args//@/l} >/dev/null 2>&1
  if diff -r "$work/w$name" "$work/l$name" >/dev/null 2>&1; then ok "grx1-cli ${args//@/out}"
  else bad "grx1-cli ${args//@/out}"; diff -r "$work/w$name" "$work/l$name" | head -6; fi
done <<'LIST'
.csv csv l.grx --series 2 --signal all -o @.csv
.wav wav l.grx --series 2 --impact 1 --signal f -o @.wav
.txt report l.grx -o @.txt
.html report l.grx -o @.html --lang en
.geojson geo l.grx -o @.geojson
.kml geo l.grx -o @.kml
.gpx geo l.grx -o @.gpx
-control.txt control l.grx --require-dyn 30 -o @-control.txt
LIST

# 3. A read from the simulated tester.
pipes=$work/pipes
mkdir -p "$pipes"
"$linux/sim/grx1-tester-sim" --dir "$pipes" --data "$work/l.grx" >/dev/null 2>&1 &
sim=$!
for _ in $(seq 50); do [ -p "$pipes/tester0/Pipe01" ] && break; sleep 0.1; done
GRX1_PIPE_DIR=$pipes lcli read -o lread.grx --timeout 10 >/dev/null 2>"$work/lread.err"
GRX1_PIPE_DIR=$(winpath "$pipes") wcli read -o wread.grx --timeout 10 >/dev/null 2>"$work/wread.err"
kill $sim 2>/dev/null; wait $sim 2>/dev/null
if [ -s "$work/wread.grx" ]; then same "read from the simulated tester" "$work/wread.grx" "$work/lread.grx"
else bad "read from the simulated tester: $(cat "$work/wread.err")"; fi

# 4. The setup program, the installed program, the uninstaller.
setup=$(ls "$out"/grx1-*-setup.exe)
installed="$WINEPREFIX/drive_c/Program Files/GRX1"
rm -rf "$installed"
# (the wine server is kept running, so "wineserver -w" would wait for it: the files are waited for)
timeout 300 wine "$setup" /S
for _ in $(seq 300); do [ -f "$installed/Uninstall.exe" ] && break; sleep 0.2; done
if [ -f "$installed/grx1.exe" ] && [ -f "$installed/Uninstall.exe" ] && [ -f "$installed/platforms/qwindows.dll" ]; then
  ok "silent install: $(find "$installed" -type f | wc -l) files"
else bad "silent install: $installed/grx1.exe missing"; fi
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -type d -path '*AppData/Local' | head -1)
mkdir -p "$appdata/grx1"
printf '[Config]\r\nLangId=Rus\r\n' >"$appdata/grx1/GRX1.ini"
GRX1_SAMPLE_IMPACTS=40 GRX1_GRAB="$(winpath "$work/installed.png")" GRX1_GRAB_DELAY_MS=3000 \
  timeout 120 xvfb-run -a -s "-screen 0 1280x900x24" wine "$installed/grx1.exe" >/dev/null 2>&1
if [ -s "$work/installed.png" ]; then ok "the installed program started and grabbed $work/installed.png"
else bad "the installed program showed no window"; fi
[ -f "$appdata/grx1/GRX1.ini" ] && [ ! -f "$installed/GRX1.ini" ] && ok "GRX1.ini kept in the user's folder" ||
  bad "GRX1.ini not in the user's application-data folder"
# The uninstaller copies itself away and removes the folder from that copy, after it has ended.
timeout 300 wine "$installed/Uninstall.exe" /S
for _ in $(seq 300); do [ -e "$installed" ] || break; sleep 0.2; done
if [ ! -e "$installed" ] && [ -f "$appdata/grx1/GRX1.ini" ]; then ok "silent uninstall removed the program and kept GRX1.ini"
else bad "silent uninstall left $(find "$installed" 2>/dev/null | head -3)"; fi

wineserver -k 2>/dev/null
[ $failures -eq 0 ] && echo "windows tests: all passed" || echo "windows tests: $failures failed"
[ $failures -eq 0 ]
