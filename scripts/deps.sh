#!/bin/sh
# Installs the Debian packages ZOV needs to build, play and test, when any is
# missing. Safe to run again: it does nothing when everything is there.
set -eu

PACKAGES="
  build-essential cmake pkg-config
  libsdl2-dev libopenmpt-dev libjpeg62-turbo-dev libpng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick openmpt123 xmp ffmpeg
  help2man man-db dpkg-dev lintian
  clang libclang-rt-dev
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0

echo "installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO=sudo; else
    echo "these Debian packages are missing and this is not root:$missing" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
