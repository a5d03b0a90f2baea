#!/bin/sh
# The real programs end to end: grx1-tester-sim starts with its name lists and screen image taken
# from files, grx1-cli names get returns the list byte for byte, names put changes it in the
# running tester, and grx1-cli screenshot writes the framed picture of the served image.
set -eu
sim="$1"; cli="$2"; work="$3"
rm -rf "$work"; mkdir -p "$work/pipes" "$work/bin"
# A copy of grx1-cli in a folder of its own: no GRX1.ini beside it, so the default colours apply.
cp "$cli" "$work/bin/grx1-cli"; cli="$work/bin/grx1-cli"
printf '[Materials Names]\r\nName00=Not def.\r\nName01=Sand\r\nName02=Gravel\r\nName03=\r\nName04=\r\nName05=\r\nName06=\r\nName07=\r\nName08=\r\nName09=\r\nName10=\r\nName11=\r\nName12=Rock\r\n' >"$work/start.mtgrx"
# A screen image whose first byte is 1 (display pixel 0,0) and all others 0.
printf '\001' >"$work/screen.bin"
head -c 1023 /dev/zero >>"$work/screen.bin"
"$sim" --dir "$work/pipes" --impacts 3 --materials "$work/start.mtgrx" --screen "$work/screen.bin" >"$work/sim.log" 2>&1 &
simpid=$!
trap 'kill $simpid 2>/dev/null || true' EXIT
export GRX1_PIPE_DIR="$work/pipes" GRX1_LIBUSB=/nonexistent
"$cli" names get materials -o "$work/got.mtgrx" --timeout 20 2>"$work/get.log"
cmp "$work/start.mtgrx" "$work/got.mtgrx"
sed 's/Name12=Rock/Name12=Clay/' "$work/start.mtgrx" >"$work/edited.mtgrx"
"$cli" names put materials "$work/edited.mtgrx" --timeout 20 2>"$work/put.log"
"$cli" names get materials -o "$work/again.mtgrx" --timeout 20 2>"$work/again.log"
cmp "$work/edited.mtgrx" "$work/again.mtgrx"
"$cli" screenshot -o "$work/shot.bmp" --timeout 20 2>"$work/shot.log"
[ "$(wc -c <"$work/shot.bmp")" -eq 26982 ]
# Row 2 from the top is file row 65: its pixels 0 .. 3 are frame, ring, display pixel (0, 0) in
# ink, then background (the default colours: ink 1f2c25, background e1eaea, stored blue first).
row=$(od -An -tx1 -v -j $((54 + 65 * 396)) -N 12 "$work/shot.bmp" | tr -d ' \n')
[ "$row" = "252c1feaeae1252c1feaeae1" ] || { echo "row 2 begins $row"; exit 1; }
