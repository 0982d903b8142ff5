#!/bin/sh
# The bad-data table: runs the program headless on a damaged copy of data/,
# one row at a time, and checks the exit status, that standard error names
# the damaged file, and, for damage the show goes on after, that the show
# runs to its end (headless, only the end picture gives status 0). The
# copy's music is a short module, so a whole show takes seconds; rows of the
# music damage that module. A file of "-" is data/ itself: the program must
# then say one line naming it and start nothing.
# Kind "output" is the other side: the kit whole, and what the program is
# asked to write is wrong. Each row must end with its status and its one
# line on standard error before anything is drawn (nothing on standard
# output).
# Usage: bad_data.sh KIND PROGRAM DAMAGE_TOOL DATA_DIR WORK_DIR
set -u
kind=$1
program=$2
damage=$3
data=$4
work=$5

# kind  file         damage     status  end: the show reaches its end
rows="
jpeg    bak1.jpg     missing    1       -
jpeg    bak1.jpg     empty      0       end
jpeg    bak1.jpg     directory  1       -
jpeg    bak1.jpg     loop       1       -
jpeg    bak1.jpg     cut:3000   0       end
jpeg    bak1.jpg     random     0       end
jpeg    bak1.jpg     lie        0       end
jpeg    end.jpg      random     0       end
pcx     mossel2.pcx  missing    0       end
pcx     mossel2.pcx  empty      0       end
pcx     mossel2.pcx  directory  0       end
pcx     mossel2.pcx  loop       0       end
pcx     mossel2.pcx  cut:2000   0       end
pcx     mossel2.pcx  cut:60     0       end
pcx     mossel2.pcx  random     0       end
pcx     mossel2.pcx  lie        0       end
xm      cute5c.xm    missing    1       -
xm      cute5c.xm    empty      1       -
xm      cute5c.xm    directory  1       -
xm      cute5c.xm    loop       1       -
xm      cute5c.xm    cut:700    0       end
xm      cute5c.xm    random     1       -
xm      cute5c.xm    lie        1       -
xm      cute5c.xm    oneorder   1       -
lwob    star.lwo     missing    0       end
lwob    star.lwo     empty      0       end
lwob    star.lwo     directory  0       end
lwob    star.lwo     loop       0       end
lwob    star.lwo     cut:100    0       end
lwob    star.lwo     random     0       end
lwob    star.lwo     lie        0       end
lwob    testkub.lwo  cut:300    0       end
folder  -            loop       1       -
folder  -            file       1       -
unreadable -         unreadable 1       -
unreadable bak1.jpg  unreadable 1       -
unreadable mossel2.pcx unreadable 0     end
unreadable cute5c.xm unreadable 1       -
unreadable star.lwo  unreadable 0       end
"

# arguments (WORK: the work folder) | status | the line on standard error
outputs="
--capture-fps 30                                | 2 | demoplay: '--capture-fps' needs --capture or --video
--capture WORK/a --video-scale 2                | 2 | demoplay: '--video-scale' needs --video
--capture WORK/a --video-lossless               | 2 | demoplay: '--video-lossless' needs --video
--video WORK/v.mp4 --overwrite                  | 2 | demoplay: '--overwrite' needs --capture
--from part:2                                   | 2 | demoplay: '--from' needs --capture or --video
--video /no/such/dir/x.mp4                      | 1 | demoplay: cannot write /no/such/dir/x.mp4: No such file or directory
--video WORK                                    | 1 | demoplay: cannot write WORK: Is a directory
--capture WORK/held --frames 1                  | 1 | demoplay: WORK/held already holds a capture: --overwrite replaces its frames, music.wav and positions.tsv
--capture WORK/notes.txt --frames 1             | 1 | demoplay: cannot make WORK/notes.txt: Not a directory
"

[ -d "$data" ] || { echo "no data kit at $data: skipped"; exit 77; }
if [ "$kind" = output ]; then
  rm -rf "$work"
  mkdir -p "$work/held"
  : >"$work/held/frame-000003.png"
  : >"$work/notes.txt"
  echo "$outputs" | sed "s|WORK|$work|g" | while IFS='|' read -r args status line; do
    [ -n "$args" ] || continue
    args=$(echo $args)
    status=$(echo $status)
    line=$(echo "$line" | sed 's/^ *//')
    # shellcheck disable=SC2086
    timeout 120 "$program" --data "$data" $args >"$work/stdout" 2>"$work/stderr"
    got=$?
    if [ $got -ne "$status" ]; then
      echo "FAIL $args: status $got, not $status"
    elif [ "$(cat "$work/stderr")" != "$line" ]; then
      echo "FAIL $args: standard error is not the one line"
      sed 's/^/  stderr: /' "$work/stderr" | tail -n 5
    elif [ -s "$work/stdout" ]; then
      echo "FAIL $args: it began the show"
    else
      echo "ok   $args: $line"
      continue
    fi
    echo fail >>"$work/failures"
  done
  [ ! -f "$work/failures" ] && [ -f "$work/held/frame-000003.png" ] && [ ! -e "$work/a" ]
  exit
fi
name=$(basename "$program")
# Permissions do not stop root: as root, the program runs as nobody on the
# unreadable rows, and they are skipped where that cannot be done.
run_as=""
[ "$kind" = unreadable ] && [ "$(id -u)" = 0 ] && run_as="setpriv --reuid=65534 --regid=65534 --clear-groups"
failures=0
count=0
chmod -R u+rwX "$work" 2>/dev/null
rm -rf "$work"
echo "$rows" | while read -r rowkind file how status end; do
  [ "$rowkind" = "$kind" ] || continue
  count=$((count + 1))
  row="$work/$count"
  mkdir -p "$row"
  cp -r "$data" "$row/data"
  "$damage" "$row/data/cute5c.xm" fastmusic || exit 1
  if [ "$file" = - ]; then
    target="$row/data"
    named="$name: $row/data: "
  else
    target="$row/data/$file"
    named="data/$file: "
  fi
  if [ -n "$run_as" ] && ! $run_as test -x "$program" -a -r "$target" 2>/dev/null; then
    echo "tests run as root, and as nobody $program or $target cannot be reached: skipped"
    exit 77
  fi
  "$damage" "$target" "$how" || { echo "FAIL $file $how: cannot damage the copy"; exit 1; }
  if [ "$how" = unreadable ] && $run_as test -r "$target"; then
    echo "$target can still be read without permissions: skipped"
    exit 77
  fi
  $run_as timeout 120 "$program" --headless --mute --data "$row" >"$row/stdout" 2>"$row/stderr"
  got=$?
  problem=""
  if [ $got -eq 124 ]; then
    problem="hung"
  elif [ $got -ne "$status" ]; then
    problem="status $got, not $status"
  elif ! grep -q "^$named" "$row/stderr"; then
    problem="standard error does not name ${named%: }"
  elif [ "$file" = - ] && [ "$(wc -l <"$row/stderr")" -ne 1 ]; then
    problem="more than one line on standard error"
  elif [ "$file" = - ] && [ -s "$row/stdout" ]; then
    problem="the program started something"
  elif [ "$end" = end ] && ! grep -q "^got to loop $" "$row/stdout"; then
    # Headless, status 0 comes only after the end picture; the loop's line
    # shows it got there through the show.
    problem="the show did not run"
  fi
  if [ -n "$problem" ]; then
    echo "FAIL $file $how: $problem"
    sed 's/^/  stderr: /' "$row/stderr" | tail -n 5
    failures=$((failures + 1))
  else
    echo "ok   $file $how: status $got; $(grep "^$named" "$row/stderr" | head -n 1)"
  fi
  echo "$failures" >"$work/failures"
done
loop=$?
# Unreadable copies would stand in the way of the next run's clean.
chmod -R u+rwX "$work" 2>/dev/null
[ $loop -eq 77 ] && exit 77
[ $loop -eq 0 ] || exit 1
[ -f "$work/failures" ] || { echo "no rows for $kind"; exit 1; }
[ "$(cat "$work/failures")" = 0 ]
