#!/bin/sh
# Builds the web build into build-web/ (or $ZOV_WEB_BUILD_DIR): the libraries
# it links (scripts/web-libs.sh, cached outside the clone), then this
# project's libraries compiled to WebAssembly and the check of them, which
# `(cd build-web && ctest)` runs under node on the data/ of the native build
# in build/. Run `scripts/deps.sh web` once first.
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${ZOV_WEB_BUILD_DIR:-build-web}
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
scripts/web-libs.sh "$BUILD_DIR/web-libs.cmake"
emcmake cmake -S . -B "$BUILD_DIR" -C "$BUILD_DIR/web-libs.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DZOV_BUILD_BENCH=OFF -DZOV_BUILD_PROGRAMS=OFF -DZOV_BUILD_TOOLS=OFF "$@" >/dev/null
cmake --build "$BUILD_DIR" -j2
