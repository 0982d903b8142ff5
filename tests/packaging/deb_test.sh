#!/bin/sh
# Builds the Debian package, unpacks it and checks its files, its control
# fields (Depends from the linked libraries) and that lintian finds no error.
# Usage: deb_test.sh CPACK BUILD_DIR VERSION
set -u
cpack=$1
build=$2
version=$3
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v $tool >/dev/null 2>&1 || { echo "$tool is not installed: skipped"; exit 77; }
done
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  [ -s "$tmp/log" ] && tail -n 30 "$tmp/log"
  exit 1
}

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/log" 2>&1 || fail "cpack -G DEB"
deb=$tmp/out/zov_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb")"

dpkg-deb -x "$deb" "$tmp/root" || fail "dpkg-deb -x"
for f in usr/bin/demoplay usr/bin/demoplayfs usr/bin/demobench usr/bin/demotool usr/bin/datakit usr/bin/xmcompose \
  usr/share/zov/data/cute5c.xm usr/share/zov/data/end.jpg \
  usr/share/man/man6/demoplay.6.gz usr/share/man/man6/demoplayfs.6.gz usr/share/man/man6/demobench.6.gz \
  usr/share/man/man1/demotool.1.gz \
  usr/share/man/man1/datakit.1.gz usr/share/man/man1/xmcompose.1.gz \
  usr/share/applications/zov.desktop usr/share/icons/hicolor/256x256/apps/zov.png \
  usr/share/doc/zov/copyright usr/share/doc/zov/changelog.gz; do
  [ -f "$tmp/root/$f" ] || fail "$f is not in the package"
done

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zov ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
depends=$(field Depends)
for lib in libsdl2 libopenmpt libjpeg62-turbo; do
  echo "$depends" | grep -Eq "(^|, )$lib" || fail "Depends does not name $lib: $depends"
done
# A short description, then a long one.
[ "$(field Description | wc -l)" -ge 3 ] || fail "no long description"

if ! command -v lintian >/dev/null 2>&1; then
  echo "lintian is not installed: skipped"
  exit 77
fi
lintian --tag-display-limit 0 "$deb" >"$tmp/log" 2>&1
status=$?
grep "^E: " "$tmp/log" && fail "lintian reports errors"
[ "$status" -eq 0 ] || fail "lintian ended with status $status"
echo "$(basename "$deb"): files, control fields and lintian checked; Depends: $depends"
