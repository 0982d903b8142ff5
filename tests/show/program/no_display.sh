#!/bin/sh
# Without a graphical display and without --headless the program must say so
# and end with status 1, not play in a window nobody sees.
# Usage: no_display.sh PROGRAM DATA_DIR
set -u
program=$1
data=$2
[ -d "$data" ] || { echo "no data kit at $data: skipped"; exit 77; }
err=$(env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER timeout 60 "$program" --mute --data "$data" 2>&1 >/dev/null)
status=$?
echo "$err"
[ $status -eq 1 ] || { echo "FAIL: status $status, not 1"; exit 1; }
name=$(basename "$program")
echo "$err" | grep -q "^$name: no graphical display (.*): set DISPLAY, or play with --headless$" ||
  { echo "FAIL: no line saying there is no graphical display"; exit 1; }
