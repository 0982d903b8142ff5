#!/bin/sh
# Installs what is missing, builds, and plays the show. Arguments go to
# demoplay (try --help).
set -eu
cd "$(dirname "$0")"
scripts/deps.sh
scripts/build.sh
exec build/bin/demoplay "$@"
