#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks its file list and control data:
#   check_package.sh BUILD_DIR WORK_DIR
set -euo pipefail
build=$1 work=$2
rm -rf "$work"
mkdir -p "$work"
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/grx1_*.deb)
fail() { echo "FAIL: $*" >&2; exit 1; }
contents=$(dpkg-deb --contents "$deb" | awk '{print $NF}')  # read whole: grep -q would cut the pipe
for path in ./usr/bin/grx1 ./usr/bin/grx1-cli ./usr/bin/grx1-tester-sim \
            ./usr/share/applications/grx1.desktop ./usr/share/mime/packages/grx1.xml \
            ./usr/lib/udev/rules.d/70-grx1-tester.rules ./usr/share/icons/hicolor/scalable/apps/grx1.svg \
            ./usr/share/doc/grx1/copyright ./usr/share/doc/grx1/manual/ru/index.html \
            ./usr/share/doc/grx1/manual/en/index.html; do
  grep -qxF "$path" <<<"$contents" || fail "$path is not in the package"
done
for size in 16 22 24 32 48 64 128 256; do
  grep -qxF "./usr/share/icons/hicolor/${size}x${size}/apps/grx1.png" <<<"$contents" || fail "icon $size"
done
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6widgets6 libusb-0.1-4 qt6-qpa-plugins libqt6sql6-sqlite; do
  grep -qw "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
! grep -qw libqt6sql6-psql <<<"$depends" || fail "Depends names the PostgreSQL driver: $depends"
[ "$(dpkg-deb --field "$deb" Recommends)" = "xdg-utils, libqt6sql6-psql" ] || fail "Recommends is not xdg-utils, libqt6sql6-psql"
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t)
grep -q postinst <<<"$control" && grep -q postrm <<<"$control" || fail "no postinst or postrm"
# The archive without the recommended packages: the package's grx1-cli, its plug-ins the SQLite driver alone.
dpkg-deb -x "$deb" "$work/root"
cli=$work/root/usr/bin/grx1-cli
mkdir -p "$work/plugins/sqldrivers"
ln -s "$(dpkg -L libqt6sql6-sqlite | grep '/sqldrivers/libqsqlite\.so$')" "$work/plugins/sqldrivers/"
printf '[Paths]\nPlugins=%s\n' "$work/plugins" >"$work/root/usr/bin/qt.conf"
"$cli" sample -o "$work/s.grx" --impacts 30
"$cli" archive --db "$work/x.sqlite" add "$work/s.grx" >/dev/null || fail "archive add without the PostgreSQL driver"
[ "$("$cli" archive --db "$work/x.sqlite" list | wc -l)" -gt 1 ] || fail "archive list without the PostgreSQL driver"
if "$cli" archive --db postgresql://grx1@127.0.0.1:1/none list 2>"$work/psql.err"; then fail "a PostgreSQL driver was found"; fi
grep -q "No database driver QPSQL" "$work/psql.err" || fail "not the missing driver: $(cat "$work/psql.err")"
echo "package: ok ($(basename "$deb"))"
