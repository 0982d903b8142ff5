#!/bin/sh
# Installs what is missing, builds, and runs every test: once in the release
# build, then once more under AddressSanitizer and UndefinedBehaviorSanitizer
# (set ZOV_SKIP_SANITIZE=1 to skip that second pass). With ZOV_WEB=1 (CI
# sets it) the web page is built too and tested in headless Chromium.
set -eu
cd "$(dirname "$0")"
web=${ZOV_WEB:-0}
if [ "$web" = 1 ]; then scripts/deps.sh web; else scripts/deps.sh; fi
scripts/build.sh
(cd build && ctest -j2 --output-on-failure -LE web)
if [ "$web" = 1 ]; then
  scripts/web-build.sh
  (cd build-web && ctest --output-on-failure)
  (cd build && ctest --output-on-failure -L web)
fi
if [ "${ZOV_SKIP_SANITIZE:-0}" != 1 ]; then
  ZOV_BUILD_DIR=build-asan scripts/build.sh -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZOV_SANITIZE=ON -DZOV_BUILD_BENCH=OFF
  # The end-to-end runs start real programs under Xvfb, the package is made
  # from the release build, and the whole-show runs take minutes under the
  # sanitizers: once is enough. The web page is tested against the release
  # build.
  (cd build-asan && ctest -j2 --output-on-failure -LE 'e2e|package|whole_show|web')
fi
# With ZOV_FUZZ_SECONDS set (CI sets 30), every fuzz target also runs for
# that many seconds; a crash fails the run.
fuzz_seconds=${ZOV_FUZZ_SECONDS:-0}
if [ "$fuzz_seconds" != 0 ]; then
  for source in fuzz/*_fuzz.cpp; do
    scripts/fuzz.sh "$(basename "$source" _fuzz.cpp)" "$fuzz_seconds"
  done
fi
