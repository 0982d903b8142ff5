# Sourced by the end-to-end scripts, which define $work and fail(): starts
# Xvfb on a display it picks itself, exports DISPLAY, and on exit stops it
# and the program whose process id the script left in $pid.
# wait_for_window waits for that program's show to begin (its line "got to
# loop" in $work/stdout) and sets $win to its window.
pid=""
xvfb=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
}
trap cleanup EXIT
Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
i=0
while [ ! -s "$work/display" ]; do
  i=$((i + 1))
  [ $i -gt 100 ] && fail "Xvfb did not start"
  sleep 0.1
done
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY

wait_for_window() {
  i=0
  until grep -q "^got to loop $" "$work/stdout" 2>/dev/null; do
    kill -0 "$pid" 2>/dev/null || fail "$name ended before its loop"
    i=$((i + 1))
    [ $i -gt 600 ] && fail "no 'got to loop' within 60 s"
    sleep 0.1
  done
  win=$(xdotool search --name '^ZOV$' 2>/dev/null | head -n 1)
  [ -n "$win" ] || fail "no window named ZOV"
}
