#!/bin/sh
# Installs what is missing, builds, and plays the show. Arguments go to
# demoplay (try --help); use build/bin/demoplayfs for full screen.
set -eu
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ $# -eq 0 ]; then
  echo "no graphical display here: playing headless (the show runs by the music alone)"
  set -- --headless
fi
exec build/bin/demoplay "$@"
