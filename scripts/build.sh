#!/bin/sh
# Configures and builds ZOV into build/ (or $ZOV_BUILD_DIR).
set -eu
cd "$(dirname "$0")/.."
BUILD_DIR=${ZOV_BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build "$BUILD_DIR" -j2
