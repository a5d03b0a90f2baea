#!/bin/sh
# The real programs end to end: grx1-tester-sim serves generated impacts on FIFOs, grx1-cli read
# reads them through the device worker and saves a project file, whose series table is then
# compared with the one of the same measurements written directly.
set -eu
sim="$1"; cli="$2"; work="$3"
rm -rf "$work"; mkdir -p "$work/pipes"
"$sim" --dir "$work/pipes" --impacts 300 --seed 5 >"$work/sim.log" 2>&1 &
simpid=$!
trap 'kill $simpid 2>/dev/null || true' EXIT
GRX1_PIPE_DIR="$work/pipes" GRX1_LIBUSB=/nonexistent "$cli" read -o "$work/read.grx" --timeout 20 2>"$work/read.log"
"$cli" sample -o "$work/direct.grx" --impacts 300 --seed 5
"$cli" series "$work/read.grx" >"$work/read.txt"
"$cli" series "$work/direct.grx" >"$work/direct.txt"
cmp "$work/read.txt" "$work/direct.txt"
[ "$(wc -l <"$work/read.txt")" -gt 40 ]
# nobody answers: exit code 2 and one line on stderr
rm -rf "$work/empty"; mkdir -p "$work/empty"
rc=0
GRX1_PIPE_DIR="$work/empty" GRX1_LIBUSB=/nonexistent "$cli" read -o "$work/none.grx" --timeout 1 2>"$work/none.log" || rc=$?
[ "$rc" -eq 2 ] || { echo "read without a tester gave exit code $rc"; exit 1; }
[ "$(grep -c . "$work/none.log")" -ge 1 ]
[ ! -e "$work/none.grx" ]
# a FIFO given as the simulator's data file is refused at once, not waited on
mkfifo "$work/fifo.grx"
rc=0
timeout 20 "$sim" --dir "$work/pipes2" --data "$work/fifo.grx" 2>"$work/fifo.log" || rc=$?
[ "$rc" -eq 2 ] || { echo "simulator on a FIFO gave exit code $rc"; exit 1; }
grep -q "File is not readable or damaged: $work/fifo.grx" "$work/fifo.log"
