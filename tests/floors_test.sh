#!/bin/sh
# The folders stand like floors: an include may point to the file's own
# folder or to one below it, never up. Fails naming each include that runs
# the wrong way.
set -eu
cd "$1"

# Lowest first; a folder's floor is that of its longest listed prefix.
floors="
image
math
platform
platform/openmpt
platform/sdl
platform/web
raster
engine3d
lwo
runtime
effects
show
show/capture
show/live
show/program
show/timedemo
show/web
tools/datakit
tools/xmcompose
tools/demotool
"

floor_of() {
  best=-1
  best_len=0
  n=0
  for f in $floors; do
    case "$1/" in
      "$f"/*)
        if [ ${#f} -gt "$best_len" ]; then
          best=$n
          best_len=${#f}
        fi
        ;;
    esac
    n=$((n + 1))
  done
  echo "$best"
}

status=0
for top in image math platform raster engine3d lwo runtime effects show tools; do
  for file in $(find "$top" -name '*.cpp' -o -name '*.h'); do
    here=$(floor_of "$(dirname "$file")")
    grep -o '^#include "[^"]*"' "$file" | sed 's/^#include "//; s/"$//' | while read -r included; do
      there=$(floor_of "$(dirname "$included")")
      if [ "$there" -gt "$here" ]; then
        echo "$file includes $included, which stands above it"
        exit 1
      fi
    done || status=1
  done
done
exit $status
