#!/bin/sh
# Installs the Debian packages ZOV needs to build, play and test, when any is
# missing. Safe to run again: it does nothing when everything is there.
#
# `scripts/deps.sh web` also installs what the web build needs (Emscripten,
# headless Chromium) and fetches the Debian sources of the libraries it
# compiles for itself (scripts/web-libs.sh) into the web cache,
# ${ZOV_WEB_CACHE:-~/.cache/zov-web}/src.
set -eu

case "${1:-}" in
  "") web=0 ;;
  web) web=1 ;;
  *)
    echo "usage: scripts/deps.sh [web]" >&2
    exit 2
    ;;
esac

PACKAGES="
  build-essential cmake pkg-config
  libsdl2-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick openmpt123 xmp ffmpeg
  help2man man-db dpkg-dev lintian
  clang libclang-rt-dev
"
# emcc's JavaScript optimiser needs acorn (node-acorn); Chromium runs the
# page headless; dpkg-dev above unpacks the sources.
WEB_PACKAGES="emscripten node-acorn chromium python3 xz-utils"
# Only what the web build links: it writes no PNG, so no libpng or zlib.
WEB_SOURCES="libopenmpt libjpeg-turbo"

[ "$web" = 1 ] && PACKAGES="$PACKAGES $WEB_PACKAGES"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

SUDO=""
as_root() {
  if [ "$(id -u)" -ne 0 ] && [ -z "$SUDO" ]; then
    if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
      echo "this needs root and there is no sudo: $*" >&2
      exit 1
    fi
  fi
  $SUDO "$@"
}

# deb-src entries that mirror the deb ones already configured, so the
# sources come from wherever this machine gets its packages.
need_update=0
[ -n "$missing" ] && need_update=1
if [ "$web" = 1 ] && ! grep -Eqs '^[^#]*deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/*.list \
  /etc/apt/sources.list.d/*.sources; then
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    src_list=/etc/apt/sources.list.d/zov-deb-src.sources
    src_entries=$(sed -e '/^[[:space:]]*#/d' -e 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources)
  else
    src_list=/etc/apt/sources.list.d/zov-deb-src.list
    src_entries=$(sed -n 's/^deb[[:space:]]/deb-src /p' /etc/apt/sources.list)
  fi
  if [ -z "$src_entries" ]; then
    echo "no Debian package source found to take the deb-src entries from" >&2
    exit 1
  fi
  echo "writing $src_list"
  printf '%s\n' "$src_entries" | as_root tee "$src_list" >/dev/null
  need_update=1
fi

export DEBIAN_FRONTEND=noninteractive
[ "$need_update" = 1 ] && as_root apt-get update -qq
if [ -n "$missing" ]; then
  echo "installing:$missing"
  # shellcheck disable=SC2086
  as_root apt-get install -y -qq --no-install-recommends $missing
fi

if [ "$web" = 1 ]; then
  src_dir="${ZOV_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zov-web}/src"
  mkdir -p "$src_dir"
  for s in $WEB_SOURCES; do
    if ! ls "$src_dir/${s}"_*.dsc >/dev/null 2>&1; then
      echo "fetching the source of $s into $src_dir"
      # Once more after an update, in case the deb-src entries were written
      # by an earlier run whose update did not get through.
      (cd "$src_dir" && apt-get source -qq --download-only "$s") ||
        { as_root apt-get update -qq && (cd "$src_dir" && apt-get source -qq --download-only "$s"); }
    fi
  done
fi
