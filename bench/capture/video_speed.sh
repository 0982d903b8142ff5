#!/bin/sh
# How much faster than the show a whole `demoplay --video` runs, and what the
# encoder alone takes: ffmpeg fed the very frames of that run from a file
# (they are kept by a stand-in ffmpeg put first on the PATH, 1.6 GB at 60
# fps). Prints wall and processor seconds (user + system, children included):
# on a shared machine the second tells more.
# Usage: video_speed.sh [BUILD_DIR] [CPUS] [DEMOPLAY OPTIONS...]
#        (defaults: build, 0,1 for taskset; e.g. "--video-scale 2")
set -eu
build=$(cd "${1:-build}" && pwd)
cpus=${2:-0,1}
[ $# -ge 2 ] && shift 2 || shift $#
ffmpeg=$(command -v ffmpeg)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

measure() { # label, its standard error's file, command...: "label wall processor"
  label=$1
  log=$2
  shift 2
  /usr/bin/time -f "%e %U %S" -o "$out/time" "$@" > /dev/null 2> "$log" || true
  read -r wall user sys <<TIME
$(tail -n 1 "$out/time")
TIME
  echo "$label $wall $(echo "$user $sys" | awk '{ print $1 + $2 }')"
}

cd "$build/bin"
whole=$(measure video "$out/progress" taskset -c "$cpus" ./demoplay --video "$out/show.mp4" "$@")
frames=$(ffprobe -v error -count_packets -select_streams v -show_entries stream=nb_read_packets \
  -of default=noprint_wrappers=1:nokey=1 "$out/show.mp4")
size=$(stat -c %s "$out/show.mp4")
tail -c 200 "$out/progress" | tr '\r' '\n' | grep frame | tail -n 1

mkdir "$out/bin"
cat > "$out/bin/ffmpeg" <<WRAPPER
#!/bin/sh
for a; do
  if [ "\$a" = pipe:0 ]; then printf '%s\n' "\$@" > "$out/args"; exec cat > "$out/frames.raw"; fi
done
exit 1
WRAPPER
chmod +x "$out/bin/ffmpeg"
PATH="$out/bin:$PATH" ./demoplay --video "$out/dump.mp4" "$@" > /dev/null 2>&1 || true
set -- "$ffmpeg"
while IFS= read -r a; do
  case $a in
    pipe:0) a=$out/frames.raw ;;
    *.picture.mp4) a=$out/alone.mp4 ;;
  esac
  set -- "$@" "$a"
done < "$out/args"
alone=$(measure encoder "$out/encoder.log" taskset -c "$cpus" "$@")

echo "$whole $alone" | awk -v f="$frames" -v size="$size" '{
  show = f / 60
  printf "%d frames (%.1f s of show at 60 fps), %.1f MB\n", f, show, size / 1e6
  printf "--video:        %6.1f s wall (%.2f times real time), %6.1f s of processor\n", $2, show / $2, $3
  printf "encoder alone:  %6.1f s wall (%.2f times real time), %6.1f s of processor\n", $5, show / $5, $6 }'
