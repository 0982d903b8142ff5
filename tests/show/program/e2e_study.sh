#!/bin/sh
# Studies the show under a virtual X server as a user would, against a
# capture of the same data at 60 frames a second: opened at a start time,
# paused, taken to a part's start, stepped back and forward and on a second,
# the window's picture must be the capture's frame at that time, pixel for
# pixel; the overlay shows over it and goes again; Escape ends the program
# with status 0. Then a headless run opened near the end plays out its end
# picture and ends with status 0.
# Usage: e2e_study.sh PROGRAM WORK_DIR
set -u
program=$1
work=$2
name=$(basename "$program")
bindir=$(dirname "$program")

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped"
  exit 77
fi
for f in cute5c.xm mossel2.pcx end.jpg bak1.jpg bak2.jpg; do
  [ -f "$bindir/data/$f" ] || { echo "no data kit beside $program: skipped"; exit 77; }
done
fail() {
  echo "FAIL: $*"
  for f in stdout stderr; do
    [ -f "$work/$f" ] && { echo "--- $name $f"; tail -n 20 "$work/$f"; }
  done
  exit 1
}
for tool in xdotool import compare; do
  command -v $tool >/dev/null 2>&1 || fail "$tool is not installed"
done
rm -rf "$work"
mkdir -p "$work"
export SDL_AUDIODRIVER=dummy

# The capture, long enough for the second part's first second.
"$program" --capture "$work/capture" --capture-fps 60 --frames 1100 >/dev/null 2>"$work/capture.err" ||
  fail "the capture failed"
first=$(awk '$3 == 2 { print $1; exit }' "$work/capture/positions.tsv")
[ -n "$first" ] || fail "no frame of the second part in the capture"
frame() { printf '%s/capture/frame-%06d.png' "$work" "$1"; }

. "$(dirname "$0")/../../xvfb.sh"

# Opened in the second part, a second and a half after its start.
"$program" --study --start-time "$(awk -v f="$first" 'BEGIN { printf "%.3f", f / 60 + 1.5 }')" \
  >"$work/stdout" 2>"$work/stderr" &
pid=$!
wait_for_window

# Pixels that differ between the window and a picture.
differing() {
  import -window "$win" "$work/shot.png" 2>/dev/null || return 1
  compare -metric AE "$work/shot.png" "$1" null: 2>&1
}
# Waits (a few seconds at most) for the window to show capture frame $1.
shows() {
  i=0
  while [ "$(differing "$(frame "$1")")" != 0 ]; do
    i=$((i + 1))
    [ $i -gt 25 ] && return 1
    sleep 0.2
  done
}
press() { xdotool key --window "$win" "$@"; }

sleep 1
press space bracketleft
shows "$first" || fail "paused and taken to the part's start, the window is not frame $first"
press comma
shows $((first - 1)) || fail "a step back does not show frame $((first - 1))"
press period period
shows $((first + 1)) || fail "two steps forward do not show frame $((first + 1))"
press Right
shows $((first + 61)) || fail "a second on does not show frame $((first + 61))"
press o
sleep 1
[ "$(differing "$(frame $((first + 61)))")" != 0 ] || fail "no overlay over the frame"
press Tab
shows $((first + 61)) || fail "the overlay did not go"
press Escape
i=0
while kill -0 "$pid" 2>/dev/null; do
  i=$((i + 1))
  [ $i -gt 100 ] && fail "$name did not end on Escape"
  sleep 0.1
done
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status after Escape"
echo "$name --study: frames $first, $((first - 1)), $((first + 1)) and $((first + 61)) shown as captured"

# Headless, opened past the show's end: the end picture for its three
# seconds.
timeout 60 "$program" --headless --mute --start-time 200 >"$work/stdout" 2>"$work/stderr" ||
  fail "headless run from 200 s: status $?"
grep -q "^got to loop $" "$work/stdout" || fail "no 'got to loop' in the headless run"
echo "$name --headless --start-time: ended with status 0"
