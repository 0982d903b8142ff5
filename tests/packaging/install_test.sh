#!/bin/sh
# Installs into a temporary prefix, moves the prefix elsewhere and runs the
# installed demoplay headless from an unrelated working directory: it must
# find its data through ../share/zov and end with status 0.
# Usage: install_test.sh CMAKE BUILD_DIR
set -u
cmake=$1
build=$2
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
fail() {
  echo "FAIL: $*"
  for f in install.log stdout stderr; do
    [ -s "$tmp/$f" ] && { echo "--- $f"; tail -n 20 "$tmp/$f"; }
  done
  exit 1
}

"$cmake" --install "$build" --prefix "$tmp/prefix" >"$tmp/install.log" 2>&1 || fail "cmake --install"
mv "$tmp/prefix" "$tmp/moved"
p=$tmp/moved
for f in bin/demoplay bin/demoplayfs bin/demobench bin/demotool bin/datakit bin/xmcompose \
  share/zov/data/cute5c.xm share/zov/data/mossel2.pcx share/zov/data/kestrel.jpg share/zov/data/star.lwo \
  share/applications/zov.desktop share/icons/hicolor/256x256/apps/zov.png share/doc/zov/copyright; do
  [ -f "$p/$f" ] || fail "$f is not installed"
done
for page in "$build"/man/*.gz; do
  [ -f "$page" ] || continue
  name=$(basename "$page")
  section=$(echo "$name" | sed 's/.*\.\([0-9]\)\.gz$/\1/')
  [ -f "$p/share/man/man$section/$name" ] || fail "manual page $name is not in man$section"
done

mkdir "$tmp/elsewhere"
(cd "$tmp/elsewhere" && SDL_AUDIODRIVER=dummy exec "$p/bin/demoplay" --headless --mute --frames 30) \
  >"$tmp/stdout" 2>"$tmp/stderr"
status=$?
[ "$status" -eq 0 ] || fail "the installed demoplay ended with status $status"
grep -q "^got to loop $" "$tmp/stdout" || fail "the installed demoplay did not start its show"
echo "installed, moved, and played 30 frames from elsewhere"
