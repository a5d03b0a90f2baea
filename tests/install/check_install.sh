#!/usr/bin/env bash
# Installs the build into a scratch root and checks what a user's desktop will find there:
#   check_install.sh BUILD_DIR SOURCE_DIR WORK_DIR
set -euo pipefail
build=$1 source=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
usr=$root/usr
fail() { echo "FAIL: $*" >&2; exit 1; }

for program in grx1 grx1-cli grx1-tester-sim; do
  [ -x "$usr/bin/$program" ] || fail "$program is not installed"
done
desktop-file-validate "$usr/share/applications/grx1.desktop" || fail "desktop entry"
grep -q '^MimeType=application/x-grx1-project;' "$usr/share/applications/grx1.desktop" || fail "desktop entry opens no project files"
xmllint --noout "$usr/share/mime/packages/grx1.xml" || fail "MIME description"
for pattern in '\*.grx' '\*.mtgrx' '\*.objgrx' 'GRX-1.0\\0'; do
  grep -q "$pattern" "$usr/share/mime/packages/grx1.xml" || fail "MIME description lacks $pattern"
done
# The MIME database built from it recognises a project file by its first eight bytes.
mkdir -p "$work/mime/packages"
cp "$usr/share/mime/packages/grx1.xml" "$work/mime/packages/"
update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
grep -aq 'GRX-1.0' "$work/mime/magic" || fail "no magic for project files"
rule=$usr/lib/udev/rules.d/70-grx1-tester.rules
grep -q 'ATTR{idVendor}=="03eb"' "$rule" && grep -q 'ATTR{idProduct}=="0120"' "$rule" && grep -q 'TAG+="uaccess"' "$rule" \
  || fail "udev rule does not name the tester"
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$usr/share/icons/hicolor/${size}x${size}/apps/grx1.png" ] || fail "icon ${size}x${size} missing"
done
[ -s "$usr/share/icons/hicolor/scalable/apps/grx1.svg" ] || fail "scalable icon missing"
for doc in README.md COPYING copyright; do
  [ -s "$usr/share/doc/grx1/$doc" ] || fail "$doc missing"
done
for lang in ru en; do
  [ -s "$usr/share/doc/grx1/manual/$lang/index.html" ] || fail "manual ($lang) missing"
done
python3 "$source/tests/install/check_manual_links.py" "$usr/share/doc/grx1/manual" || fail "manual links"

# The installed programs never write beside themselves.
chmod -R a-w "$usr/bin"
before=$(ls -la "$usr/bin")
home=$work/home
mkdir -p "$home/.config/grx1"
printf '[Config]\r\nLangId=Eng\r\n' > "$home/.config/grx1/GRX1.ini"
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
"$usr/bin/grx1-cli" sample -o "$work/sample.grx" --impacts 12 >/dev/null
table=$("$usr/bin/grx1-cli" series "$work/sample.grx") || fail "grx1-cli series from the installed tree"
grep -q $'^\xe2\x84\x96' <<<"$table" || fail "grx1-cli series printed no table"
GRX1_PIPE_DIR=$work/no-tester QT_QPA_PLATFORM=offscreen GRX1_GRAB=$work/window.png GRX1_GRAB_DELAY_MS=200 \
  timeout 60 "$usr/bin/grx1" >/dev/null 2>&1 || fail "grx1 from the installed tree"
[ -s "$work/window.png" ] || fail "grx1 showed no window"
grep -q '^Uses=1' "$home/.config/grx1/GRX1.ini" || fail "the configuration did not go to the user's folder"
[ "$before" = "$(ls -la "$usr/bin")" ] || fail "something was written beside the installed programs"
chmod -R u+w "$usr/bin"
echo "installed tree: ok"
