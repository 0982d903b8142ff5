#!/bin/sh
# Compiles the libraries the web build links, libopenmpt and libjpeg-turbo,
# with Emscripten from the Debian sources that `scripts/deps.sh web` fetched,
# and writes FILE: CMake settings (for cmake -C) that point the web build at
# them.
#
# Each library goes into a cache outside the clone, so that later builds and
# other clones reuse it and CI can keep it between runs:
#   ${ZOV_WEB_CACHE:-~/.cache/zov-web}/<library>-<version>-<hash>/{include,lib}
# where the hash covers the compiler's version, the flags and the recipe. A
# library already there is not built again.
set -eu
if [ $# -ne 1 ]; then
  echo "usage: scripts/web-libs.sh FILE" >&2
  exit 2
fi
case "$1" in
  /*) out=$1 ;;
  *) out="$(pwd)/$1" ;;
esac
cd "$(dirname "$0")/.."
project=$(pwd)

cache=${ZOV_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zov-web}
# emcc's JavaScript tools need Debian's node modules (acorn).
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
if ! command -v emcc >/dev/null 2>&1; then
  echo "emcc not found: run scripts/deps.sh web" >&2
  exit 1
fi

FLAGS="-O2 -msimd128"
compiler=$(emcc -dumpversion)

# The newest source of a Debian package in the cache.
source_of() {
  dsc=$(find "$cache/src" -maxdepth 1 -name "$1_*.dsc" 2>/dev/null | sort -V | tail -n 1)
  if [ -z "$dsc" ]; then
    echo "no source of $1 in $cache/src: run scripts/deps.sh web" >&2
    exit 1
  fi
  echo "$dsc"
}

# cached_dir PACKAGE DSC RECIPE...: the cache folder of that build.
cached_dir() {
  package=$1
  version=$(basename "$2" .dsc | sed "s/^$1_//")
  shift 2
  hash=$(printf '%s\n' "$compiler" "$FLAGS" "$@" | sha256sum | cut -c1-12)
  echo "$cache/$package-$version-$hash"
}

# build PACKAGE DSC DIR STEP: unpacks the source into a scratch folder, runs
# STEP (a function of the arguments: source, build folder, result folder;
# it chains its commands with &&, as set -e does not reach into it here),
# then puts the result in place in one move, so an interrupted or concurrent
# build never leaves half a library in the cache.
build() {
  echo "building $1 for the web into $3"
  work=$(mktemp -d "$cache/build-$1.XXXXXX")
  log="$work/log"
  start=$(date +%s)
  if ! { dpkg-source -x "$2" "$work/src" && "$4" "$work/src" "$work/build" "$work/out"; } >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "building $1 failed (the whole log: $log)" >&2
    exit 1
  fi
  if ! mv -T "$work/out" "$3" 2>/dev/null; then
    [ -d "$3" ] || { echo "cannot move the build of $1 to $3" >&2; exit 1; }
  fi
  rm -rf "$work"
  echo "built $1 in $(($(date +%s) - start)) s"
}

openmpt_recipe=cmake/web/libopenmpt/CMakeLists.txt
openmpt_step() {
  emcmake cmake -S "$project/cmake/web/libopenmpt" -B "$2" -DOPENMPT_SOURCE_DIR="$1" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="$FLAGS -DNDEBUG" -DCMAKE_INSTALL_PREFIX="$3" &&
    cmake --build "$2" -j2 &&
    cmake --install "$2"
}

# The libjpeg 6b interface (JPEG_LIB_VERSION 62), as Debian's libjpeg62-turbo,
# without the x86 assembly. This Emscripten's CMake cannot measure type sizes
# (it reads them from the .wasm), so they are given.
jpeg_options="-DENABLE_SHARED=0 -DWITH_SIMD=0 -DWITH_TURBOJPEG=0 -DWITH_JAVA=0
  -DSIZE_T=4 -DHAVE_SIZE_T=TRUE -DUNSIGNED_LONG=4 -DHAVE_UNSIGNED_LONG=TRUE"
jpeg_step() {
  # shellcheck disable=SC2086
  emcmake cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE="$FLAGS -DNDEBUG" $jpeg_options &&
    cmake --build "$2" -j2 --target jpeg-static &&
    mkdir -p "$3/include" "$3/lib" &&
    cp "$2/libjpeg.a" "$3/lib/" &&
    cp "$1/jpeglib.h" "$1/jmorecfg.h" "$1/jerror.h" "$2/jconfig.h" "$3/include/"
}

mkdir -p "$cache"

openmpt_dsc=$(source_of libopenmpt)
openmpt_dir=$(cached_dir libopenmpt "$openmpt_dsc" "$(cat "$openmpt_recipe")")
[ -f "$openmpt_dir/lib/libopenmpt.a" ] || build libopenmpt "$openmpt_dsc" "$openmpt_dir" openmpt_step

jpeg_dsc=$(source_of libjpeg-turbo)
jpeg_dir=$(cached_dir libjpeg-turbo "$jpeg_dsc" "$jpeg_options" "$(sed -n '/^jpeg_step()/,/^}/p' scripts/web-libs.sh)")
[ -f "$jpeg_dir/lib/libjpeg.a" ] || build libjpeg-turbo "$jpeg_dsc" "$jpeg_dir" jpeg_step

mkdir -p "$(dirname "$out")"
cat >"$out" <<EOF
# The web build's libraries, from scripts/web-libs.sh.
set(ZOV_WEB_LIBOPENMPT "$openmpt_dir" CACHE PATH "libopenmpt built for the web" FORCE)
set(JPEG_INCLUDE_DIR "$jpeg_dir/include" CACHE PATH "libjpeg-turbo built for the web" FORCE)
set(JPEG_LIBRARY "$jpeg_dir/lib/libjpeg.a" CACHE FILEPATH "libjpeg-turbo built for the web" FORCE)
EOF
