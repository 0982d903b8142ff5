#!/bin/sh
# Runs demoplay or demoplayfs under a virtual X server as a user would: waits
# for the show's loop, checks the window and that it shows the first part's
# background, then takes a screenshot of each part, which must differ from
# that part's bare background (and from it with the logo flashed over it):
# the effects are on screen. One key press per part and one for the end
# picture; the program must end with status 0 after its start-up lines.
# With a window-closing tool instead of "keys", closes the window instead,
# which must end the program at once with status 0.
# Usage: e2e_program.sh keys|CLOSE_TOOL PROGRAM STANDIN_DATA_TOOL WORK_DIR
set -u
ending=$1
program=$2
standin=$3
work=$4
name=$(basename "$program")

if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: skipped"
  exit 77
fi
fail() {
  echo "FAIL: $*"
  for f in stdout stderr; do
    [ -f "$work/$f" ] && { echo "--- $name $f"; tail -n 30 "$work/$f"; }
  done
  exit 1
}
for tool in xdotool import convert compare; do
  command -v $tool >/dev/null 2>&1 || fail "$tool is not installed"
done

rm -rf "$work"
mkdir -p "$work/cwd"
bindir=$(dirname "$program")

# The data kit beside the program when it is complete (found without
# --data, from a working directory that has none); otherwise a stand-in.
datadir="$bindir/data"
dataopt=""
for f in cute5c.xm mossel2.pcx kestrel.jpg end.jpg bak1.jpg bak2.jpg bak3.jpg bak4.jpg; do
  [ -f "$bindir/data/$f" ] || datadir=""
done
if [ -z "$datadir" ]; then
  "$standin" "$work/standin/data" || fail "cannot write stand-in data"
  datadir="$work/standin/data"
  dataopt="--data $work/standin"
  echo "using stand-in data"
fi

. "$(dirname "$0")/../xvfb.sh"
export SDL_AUDIODRIVER=dummy

# shellcheck disable=SC2086
(cd "$work/cwd" && exec "$program" $dataopt) >"$work/stdout" 2>"$work/stderr" &
pid=$!

wait_for_window
size=$(xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: *//p')
if [ "$name" = demoplayfs ]; then
  # The screen switched to 512x384, or the whole 1024x768 desktop.
  [ "$size" = 512x384 ] || [ "$size" = 1024x768 ] || fail "full-screen window is $size"
else
  [ "$size" = 512x384 ] || fail "window is $size, not 512x384"
fi

# The first part's background, away from where the logo flashes.
sleep 0.5
import -window "$win" "$work/shot.png" || fail "no screenshot"
convert "$work/shot.png" -resize '512x384!' -crop 200x70+0+310 +repage "$work/shot_crop.png"
convert "$datadir/bak4.jpg" -resize '512x384!' -crop 200x70+0+310 +repage "$work/bak4_crop.png"
rmse=$(compare -metric RMSE "$work/shot_crop.png" "$work/bak4_crop.png" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p')
echo "screenshot against the background: normalised RMSE $rmse"
awk -v e="$rmse" 'BEGIN { exit !(e != "" && e < 0.12) }' || fail "the window does not show the background (RMSE $rmse)"

# Normalised RMSE of two pictures of the frame's size.
rmse() {
  compare -metric RMSE "$1" "$2" null: 2>&1 | sed -n 's/.*(\([0-9.e-]*\)).*/\1/p'
}
# Fails unless the RMSE is at least 0.03: a few effects' pixels, not noise.
differs() {
  awk -v e="$1" 'BEGIN { exit !(e != "" && e >= 0.03) }'
}

if [ "$ending" = keys ]; then
  # Each part runs a moment (the title slides in after 0.7 s), is shot and
  # left with a key; the logo flashes over the first two parts.
  part=1
  for bak in bak4 bak2 bak1 bak3; do
    sleep 1.5
    kill -0 "$pid" 2>/dev/null || fail "$name ended in part $part"
    import -window "$win" "$work/part$part.png" || fail "no screenshot of part $part"
    convert "$work/part$part.png" -resize '512x384!' "$work/part${part}_frame.png"
    convert "$datadir/$bak.jpg" -resize '512x384!' "$work/part${part}_bare.png"
    e=$(rmse "$work/part${part}_frame.png" "$work/part${part}_bare.png")
    echo "part $part against bare $bak: normalised RMSE $e"
    differs "$e" || fail "part $part shows its bare background $bak (RMSE $e)"
    if [ $part -le 2 ]; then
      convert "$work/part${part}_bare.png" \( "$datadir/kestrel.jpg" -geometry +30+40 \) \
        -compose plus -composite "$work/part${part}_logo.png"
      e=$(rmse "$work/part${part}_frame.png" "$work/part${part}_logo.png")
      differs "$e" || fail "part $part shows only the logo over $bak (RMSE $e)"
    fi
    xdotool key --window "$win" space
    part=$((part + 1))
  done
  sleep 1
  xdotool key --window "$win" space
  limit=300
else
  "$ending" "$win" || fail "cannot close the window"
  limit=30
fi
i=0
while kill -0 "$pid" 2>/dev/null; do
  i=$((i + 1))
  [ $i -gt $limit ] && fail "$name did not end (by $ending)"
  sleep 0.1
done
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "exit status $status"

# The start-up lines, in this order (others may come between them).
cat >"$work/expected" <<'LINES'
trying to load data/mossel2.pcx with loader number 0. 
bass used for module replaying
trying to load stream data/cute5c.xm 
trying to load mod data/cute5c.xm 
initing demo 
inited demo 
got to loop 
LINES
awk 'BEGIN { n = 0; k = 0 } NR == FNR { want[n++] = $0; next } k < n && $0 == want[k] { k++ } END { if (k < n) { print "missing or out of order: " want[k]; exit 1 } }' \
  "$work/expected" "$work/stdout" || fail "start-up lines"
echo "$name: window $size, background shown, ended with status 0 (by $ending)"
