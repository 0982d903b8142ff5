#!/bin/sh
# Configures and builds ZOV into build/ (or $ZOV_BUILD_DIR).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${ZOV_BUILD_DIR:-build}
launcher=""
command -v ccache >/dev/null 2>&1 &&
  launcher="-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
# shellcheck disable=SC2086
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release $launcher "$@" >/dev/null
cmake --build "$BUILD_DIR" -j2
