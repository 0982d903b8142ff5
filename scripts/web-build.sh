#!/bin/sh
# Builds the web page into build-web/page/ (or $ZOV_WEB_BUILD_DIR/page):
# index.html, zov.js, zov.wasm and zov.data, which any static web server
# serves. Installs what is missing first (scripts/deps.sh web), makes the
# data kit with the native tools in build/, compiles the libraries the page
# links (scripts/web-libs.sh, cached outside the clone), then this project
# with Emscripten. `(cd build-web && ctest)` then checks the libraries under
# node, and `(cd build && ctest -L web)` the page in headless Chromium.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${ZOV_WEB_BUILD_DIR:-build-web}
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
scripts/deps.sh web
# The kit's tools are native programs.
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 --target zov_data
scripts/web-libs.sh "$BUILD_DIR/web-libs.cmake"
# ccache takes em++ as it takes g++: a warm cache cuts the build to a third.
launcher=""
command -v ccache >/dev/null 2>&1 &&
  launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# shellcheck disable=SC2086
emcmake cmake -S . -B "$BUILD_DIR" -C "$BUILD_DIR/web-libs.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DZOV_BUILD_BENCH=OFF -DZOV_BUILD_PROGRAMS=OFF -DZOV_BUILD_TOOLS=OFF $launcher "$@" >/dev/null
cmake --build "$BUILD_DIR" -j2
echo "the page is in $BUILD_DIR/page: python3 -m http.server 8000 --bind 127.0.0.1 --directory $BUILD_DIR/page"
